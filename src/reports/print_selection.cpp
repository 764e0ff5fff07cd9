#include "reports/print_selection.h"

#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "reports/listing_engine.h"
#include "reports/listing_text.h"
#include "session/work_area_ids.h"
#include "toolkit/field_descriptor.h"
#include "toolkit/field_editor.h"
#include "toolkit/message_boxes.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

enum FieldId { kOldPrices, kFromPage, kToPage, kConfirm };

struct SelectionRow {
  FieldId id;
  int row;
};

const char* const kLabels[] = {
    "Resaltar precios viejos (dias) : ",
    "Desde pagina ( 0 = Separador ) : ",
    "Hasta pagina ( 0 = Ultima    ) : ",
    "Para  Listar  oprima [ Intro ] : ",
};

constexpr int kFieldColumn = 12;

std::vector<SelectionRow> RowsOf(SelectionFields fields) {
  switch (fields) {
    case SelectionFields::PricesAndPages:
      return {{kOldPrices, 3}, {kFromPage, 4}, {kToPage, 5}, {kConfirm, 7}};
    case SelectionFields::Pages:
      return {{kFromPage, 3}, {kToPage, 4}, {kConfirm, 6}};
    case SelectionFields::PricesOnly:
      return {{kOldPrices, 3}, {kConfirm, 5}};
    case SelectionFields::ConfirmOnly:
      break;
  }
  return {{kConfirm, 4}};
}

FieldDescriptor Descriptor(const SelectionRow& r) {
  FieldDescriptor d =
      MakeField(kLabels[r.id], r.id == kConfirm ? kKindLabel : kKindInt, 3, kFieldColumn, r.row);
  return d;
}

int16_t* ValueOf(FieldId id) {
  ListingState& s = Listing();
  switch (id) {
    case kOldPrices:
      return &s.oldPriceDays;
    case kFromPage:
      return &s.fromPage;
    case kToPage:
      return &s.toPage;
    case kConfirm:
      break;
  }
  return nullptr;
}

// Clicks on the fields: table 8 holds a zone per field, numbered from 1,
// over its label and value, in screen cells (0-based) of the open window.
constexpr int kFieldZoneTable = 8;

void SetSelectionZones(const std::vector<SelectionRow>& rows) {
  ClearZoneTable(kFieldZoneTable);
  const ScreenState& screen = Screen();
  for (size_t i = 0; i < rows.size(); ++i) {
    const FieldDescriptor d = Descriptor(rows[i]);
    const int first = screen.left + d.column - 2;
    const int last = screen.left + ValueColumn(d) + d.width - 3;
    const int row = screen.top + d.row - 2;
    ClickZone z = MakeZone(kKeyFieldClick, first, last, row, row);
    z.field = static_cast<uint8_t>(i + 1);
    Zones(kFieldZoneTable)[i] = z;
  }
}

// The field a click names, or `at` when it names none.
int ClickedRow(int at, int count) {
  const int n = Input().clickedField;
  return n >= 1 && n <= count ? n - 1 : at;
}

bool IsNext(uint8_t key) {
  return key == kKeyEnter || key == kKeyDown || key == kKeyTab;
}

// The confirmation field: Enter confirms, Esc leaves, arrows move.
uint8_t WaitOnConfirm(const FieldDescriptor& d) {
  GotoXY(d.column + static_cast<int>(d.label.size()), d.row);
  for (;;) {
    const uint8_t key = ReadKey();
    if (key == kKeyEnter || key == kKeyEsc || key == kKeyUp || key == kKeyDown || key == kKeyTab ||
        key == kKeyFieldClick)
      return key;
  }
}

// Edits the fields until Esc (false) or Enter on the confirmation (true).
bool EditSelection(const std::vector<SelectionRow>& rows) {
  const KeySet exits{kKeyEnter, kKeyDown, kKeyUp, kKeyEsc, kKeyTab};
  for (const SelectionRow& r : rows) {
    int16_t* v = ValueOf(r.id);
    ShowField(kAreaPrinting, Descriptor(r), v ? FieldValue{*v} : FieldValue{std::string()},
              ShowMode::LabelAndValue);
  }
  const int count = static_cast<int>(rows.size());
  int at = 0;
  for (;;) {
    const SelectionRow& r = rows[static_cast<size_t>(at)];
    const FieldDescriptor d = Descriptor(r);
    uint8_t key = 0;
    if (r.id == kConfirm) {
      key = WaitOnConfirm(d);
      if (key == kKeyEnter) return true;
    } else {
      EditField(kAreaPrinting, *ValueOf(r.id), d, key, exits);
      ShowField(kAreaPrinting, d, FieldValue{*ValueOf(r.id)}, ShowMode::Value);
    }
    if (key == kKeyEsc) return false;
    if (key == kKeyFieldClick)
      at = ClickedRow(at, count);
    else
      at = IsNext(key) ? (at + 1) % count : (at + count - 1) % count;
  }
}

}  // namespace

const char* ListingKindTitle(int kind) {
  switch (kind) {
    case 0:
      return "Listado total Presupuesto ";
    case 2:
      return "Listado Insumos Basicos ";
    case 3:
      return "Resumen Precios Unitarios ";
    case 4:
    case 5:
      return "Listado Analisis Unitarios ";
    case 6:
      return "Listado Analisis Subcontratos ";
    case 7:
      return "Requerimientos Insumos Basicos ";
    case 8:
      return "Listado Presupuesto Obra ";
    case 9:
      return "Listado Resumen Presupuesto ";
    case 10:
      return "Listado total Formularios ";
    case 12:
      return "Formulario Insumos Basicos ";
    case 13:
      return "Formulario Precios Globales ";
    case 14:
      return "Formulario Subcontratos ";
    case 15:
      return "Cronograma de Obra .. (GRAFICO) ";
    case 16:
      return "Ejecucion de Obra ... (GRAFICO) ";
    case 17:
      return "Flujo de Pagos ...... (TABLA) ";
    case 18:
      return "Flujo de Pagos ...... (GRAFICO) ";
    case 19:
      return "Listado Total Programacion ";
    default:
      return "";
  }
}

bool PrintSelection(int kind, SelectionFields fields) {
  ListingState& s = Listing();
  s.interruptRequested = false;
  s.fromPage = 1;
  s.toPage = 0;
  s.copies = 1;
  WindowDesc desc;
  desc.scheme = kSchemeModule;
  desc.left = 12;
  desc.top = 7;
  desc.right = 69;
  desc.bottom = 17;
  desc.buttons = "Esc^regresa Intro^listar";
  if (!OpenWindow(desc)) return false;
  GotoXY(2, 1);
  WriteText(ListingKindTitle(kind));
  if (s.wideListing && DotMatrix()) {
    GotoXY(2, 2);
    WriteText("... DEBE USAR PAPEL ANCHO (15 PULGADAS) ...");
  }
  const std::vector<SelectionRow> rows = RowsOf(fields);
  const ZoneTable saved = Zones(kFieldZoneTable);
  SetSelectionZones(rows);
  const bool go = EditSelection(rows);
  Zones(kFieldZoneTable) = saved;
  CloseWindow();
  if (!go) return false;
  CondensedOn();
  LineEnd();
  // The dot-matrix route writes to its device, not to a platform printer.
  if (DotMatrix()) return true;
  if (!ChoosePrinter()) {
    EmptyListingFile();
    return false;
  }
  return true;
}

}  // namespace vantu
