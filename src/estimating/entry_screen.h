#pragma once
// Pieces the data-entry screens share: click zones over their fields, the
// step through a choice field, and the calendar for a date field.

#include <cstdint>
#include <string>
#include <vector>

#include "records/coded_records.h"
#include "records/record_ops.h"
#include "toolkit/field_descriptor.h"
#include "toolkit/status_line.h"

namespace vantu {

// Zone table 8 gets one zone per field over its label and value: a click there ends
// the editing with 157 and publishes the field's number (1-based index in
// `fields`) in ClickedField. Null entries get no zone.
void SetFieldZones(const std::vector<const FieldDescriptor*>& fields);
// One more zone of table 8, over columns and rows (1-based, inclusive) that
// hold several fields: a click there publishes `field`, and the screen
// finds the clicked one from the mouse cell.
void AddFieldZone(int field, int firstCol, int lastCol, int firstRow, int lastRow);
// The field a 157 asks for, 0 when none.
int ClickedFieldNumber();

// A choice field on its turn: Enter, a click on it or a blank opens the
// option list; the key that leaves it is returned (Enter after a choice,
// or any key of `exitKeys`). `changed` tells whether the choice changed.
uint8_t ChoiceStep(int area, int16_t& choice, const FieldDescriptor& d, const KeySet& exitKeys,
                   bool& changed);

// The calendar on a "dd/mm/aa" date (today when it has none); the date
// chosen, as "dd/mm/aa".
std::string PickShortDate(const std::string& date);

// F6 on a record: the calendar for an item's creation date (a chapter has
// none). True when the date changed; the record is then marked changed.
template <class R>
bool PickCreatedDate(int area, R& rec, bool isItem) {
  if (!isItem) {
    ShowError("La fecha de creacion solo es valida en ITEMS");
    return false;
  }
  const std::string date = PickShortDate(Get(rec, coded::CreatedDate));
  if (date == Get(rec, coded::CreatedDate)) return false;
  Set(rec, coded::CreatedDate, date);
  MarkRecordChanged(area);
  return true;
}

}  // namespace vantu
