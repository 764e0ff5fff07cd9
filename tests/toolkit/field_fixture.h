#pragma once
// Toolkit state plus the field editor, windows and lists, reset per test;
// a helper that edits one field with a key script.

#include <vector>

#include "toolkit/code_list.h"
#include "toolkit/field_editor.h"
#include "toolkit/field_hooks.h"
#include "toolkit/toolkit_fixture.h"
#include "toolkit/window_stack.h"

namespace vantu::test {

class FieldTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ResetFieldEditor();
    ResetWindowStack();
    ResetCodeLists();
    SetListSource(nullptr);
  }
  void TearDown() override {
    SetListSource(nullptr);
    ResetFieldEditor();
    ToolkitTest::TearDown();
  }

  struct Outcome {
    bool ended = false;  // false: the editor still waits (a refused exit)
    uint8_t key = 0;
    FieldValue value;
  };

  // Edits `value` with the keys typed in one go; exit keys Enter and Esc.
  Outcome Edit(const FieldDescriptor& d, FieldValue value, const std::vector<int>& keys,
               int area = 2) {
    host.TypeKeys(keys);
    Outcome o;
    o.value = value;
    try {
      EditField(area, o.value, d, o.key, KeySet{13, 27});
      o.ended = true;
    } catch (const ScriptExhausted&) {
    }
    return o;
  }

  // The field's value cells as shown.
  std::string ValueCells(const FieldDescriptor& d) {
    return ScreenRow(d.row).substr(ValueColumn(d) - 1, ValueDisplayWidth(d));
  }
  static std::string StatusRow() {
    std::string r = ScreenRow(25);
    const size_t a = r.find_first_not_of(' ');
    const size_t b = r.find_last_not_of(' ');
    return a == std::string::npos ? "" : r.substr(a, b - a + 1);
  }
};

inline FieldDescriptor Field(char kind, int width, int decimals = 0, std::string min = "",
                             std::string max = "") {
  FieldDescriptor d;
  d.label = "Campo :";
  d.kind = kind;
  d.width = static_cast<int16_t>(width);
  d.decimals = static_cast<int16_t>(decimals);
  d.column = 1;
  d.row = 5;
  d.minValue = std::move(min);
  d.maxValue = std::move(max);
  return d;
}

}  // namespace vantu::test
