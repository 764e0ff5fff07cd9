// The lines of command F on the screen: the four section headings with
// their rows, and the editing of a line's code, quantity, and a global
// line's description and price.
#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "console/letters.h"
#include "estimating/analyses_screen.h"
#include "estimating/entry_screen.h"
#include "records/codes.h"
#include "session/work_area_ids.h"
#include "toolkit/field_editor.h"
#include "toolkit/field_hooks.h"
#include "toolkit/message_boxes.h"
#include "toolkit/popup_menu.h"
#include "toolkit/schemes.h"

namespace vantu {

namespace {

constexpr int kArea = kAreaAnalyses;
constexpr const char* kRefusalCaption = "Advertencia";

std::string Heading(const std::string& title) {
  std::string t = title;
  t.resize(35, ' ');
  return "CODIGO  " + t + "  UNIDAD  P R E C I O S  CANTIDADES";
}

const std::string& HeadingOf(int group) {
  static const std::string kHeadings[] = {Heading("MAQUINARIAS, EQUIPOS Y HERRAMIENTAS"),
                                          Heading("MATERIALES"), Heading("TRANSPORTES"),
                                          Heading("MANO DE OBRA")};
  return kHeadings[group - 1];
}

FieldDescriptor LineDescriptor(LineField f, int row) {
  switch (f) {
    case LineField::kCode: {
      FieldDescriptor d = MakeField("", kKindCode, 6, kLineCodeCol - 1, row);
      d.listAreas = "23";
      d.minValue = "5";
      d.maxValue = "6";
      return d;
    }
    case LineField::kQuantity: {
      FieldDescriptor d = MakeField("", kKindReal, 9, kLineQuantityCol - 1, row);
      d.decimals = kVariableDecimals;
      return d;
    }
    case LineField::kDescription:
      return MakeField("", kKindText, 35, kLineDescCol - 1, row);
    default: {
      FieldDescriptor d = MakeField("", kKindReal, 12, kLinePriceCol - 1, row);
      d.decimals = 2;
      return d;
    }
  }
}

KeySet LineExits(std::initializer_list<int> more) {
  KeySet keys{kKeyEnter, kKeyDown, kKeyUp,   kKeyTab,  kKeyEsc,
              kKeyF4,    kKeyF5,   kKeyPgDn, kKeyPgUp, kKeyFieldClick};
  for (int k : more) keys.Add(k);
  return keys;
}

bool Coded(const EditLine& l) {
  const LineType t = TypeOf(l);
  return t == LineType::kInput || t == LineType::kAnalysis;
}

}  // namespace

int AnalysesScreen::HeadingRow(int group) const {
  int row = kFirstSectionRow;
  for (int g = 1; g < group; ++g) row += 1 + lines_.rows[g];
  return row;
}

int AnalysesScreen::RowOf(int group, int index) const {
  return HeadingRow(group) + 1 + index;
}

void AnalysesScreen::DrawLine(int group, int index) {
  const int row = RowOf(group, index);
  GotoXY(1, row);
  ClrEol();
  if (index >= lines_.Count(group)) return;
  const EditLine& l = lines_.lines[group][index];
  GotoXY(kLineCodeCol, row);
  FieldText();
  WriteText(CodeOf(l));
  NormalText();
  GotoXY(kLineDescCol, row);
  WriteLetters(l.cache.description.substr(0, 35));
  GotoXY(kLineUnitCol, row);
  WriteText(l.cache.unit.substr(0, 6));
  ShowField(kArea, LineDescriptor(LineField::kPrice, row), l.cache.price, ShowMode::Value);
  if (Coded(l))
    ShowField(kArea, LineDescriptor(LineField::kQuantity, row),
              Get(l.line, analysis_line::Quantity), ShowMode::Value);
}

void AnalysesScreen::DrawSections() {
  for (int g = 1; g <= analysis::kGroups; ++g) {
    GotoXY(1, HeadingRow(g));
    ClrEol();
    BoldText();
    WriteText(HeadingOf(g));
    NormalText();
    for (int i = 0; i < lines_.rows[g]; ++i) DrawLine(g, i);
  }
}

std::vector<LineCursor> AnalysesScreen::Stops() const {
  std::vector<LineCursor> stops;
  for (int g = 1; g <= analysis::kGroups; ++g) {
    const int last = lines_.Count(g) < lines_.rows[g] ? lines_.Count(g) : lines_.Count(g) - 1;
    for (int i = 0; i <= last; ++i) stops.push_back({g, i, LineField::kCode});
  }
  return stops;
}

LineCursor AnalysesScreen::ClickedLine() const {
  const int row = Input().mouseRow + 1;
  int g = analysis::kGroups;
  while (g > 1 && row <= HeadingRow(g)) --g;
  const int index = row - HeadingRow(g) - 1;
  const std::vector<LineCursor> stops = Stops();
  LineCursor c = stops.front();
  for (const LineCursor& s : stops)
    if (s.group < g || (s.group == g && s.index <= index)) c = s;
  if (c.group != g || c.index != index || index >= lines_.Count(g)) return c;
  const bool global = TypeOf(lines_.lines[g][index]) == LineType::kGlobal;
  const LineField fields[] = {global ? LineField::kDescription : LineField::kQuantity,
                              global ? LineField::kPrice : LineField::kQuantity};
  for (LineField f : fields) {
    int pos = 0;
    if (ClickedOnField(LineDescriptor(f, row), false, pos)) c.field = f;
  }
  return c;
}

// Puts the typed code into the line, or shows why not; true when the line
// took it.
bool AnalysesScreen::TypeLineCode(LineCursor& c, const std::string& typed) {
  const bool existing = c.index < lines_.Count(c.group);
  const EditLine previous = existing ? lines_.lines[c.group][c.index] : EditLine{};
  LineCodeOutcome out = CheckLineCode(typed, c.group, Get(rec_, coded::Code),
                                      lines_.OtherCodes(c.group, c.index), previous);
  if (!out.refusal.empty()) {
    AlertBox(out.refusal, kRefusalCaption);
    DrawLine(c.group, c.index);
    return false;
  }
  const int16_t oldRecord = Get(previous.line, analysis_line::RefRecNo);
  const bool wasGlobal = TypeOf(previous) == LineType::kGlobal;
  if (wasGlobal && TypeOf(out.line) == LineType::kGlobal) {
    Set(out.line.line, analysis_line::RefRecNo, oldRecord);  // the same price, recoded
  } else if (wasGlobal && oldRecord > 0) {
    released_.push_back(oldRecord);
  }
  if (typed.empty()) {
    lines_.Remove(c.group, c.index);
  } else {
    lines_.Put(c.group, c.index, out.line);
    if (lines_.Count(c.group) == lines_.rows[c.group]) lines_.Grow(c.group);
  }
  MarkChanged();
  DrawSections();
  return true;
}

bool AnalysesScreen::RemoveLine(const LineCursor& c) {
  if (c.index >= lines_.Count(c.group)) {
    Beep();
    return false;
  }
  if (ConfirmBox("Confirma la eliminacio del insumo ?", "Confirmacion") != 'S') return false;
  const EditLine& l = lines_.lines[c.group][c.index];
  if (TypeOf(l) == LineType::kGlobal && Get(l.line, analysis_line::RefRecNo) > 0)
    released_.push_back(Get(l.line, analysis_line::RefRecNo));
  lines_.Remove(c.group, c.index);
  MarkChanged();
  DrawSections();
  return true;
}

uint8_t AnalysesScreen::EditLineCode(LineCursor& c) {
  const int row = RowOf(c.group, c.index);
  const FieldDescriptor d = LineDescriptor(LineField::kCode, row);
  const bool existing = c.index < lines_.Count(c.group);
  const std::string current = existing ? CodeOf(lines_.lines[c.group][c.index]) : "";
  editing_ = c;
  editingLine_ = true;
  for (;;) {
    std::string text = current;
    uint8_t key = 0;
    FieldEditor().secondaryCodeMode = true;
    EditField(kArea, text, d, key, LineExits({kKeyNoZone}));
    FieldEditor().secondaryCodeMode = false;
    if (IsRightClickOn(key, d)) {
      const int chosen = RunPopupMenu("", {" Codigo Item Global ", " Cancelar "}, 20,
                                      row > 18 ? 14 : row + 1, "Esc^regresa Intro^acepta");
      if (chosen == 0 && TypeLineCode(c, std::string(kGlobalCode))) {
        editingLine_ = false;
        return kKeyEnter;
      }
      continue;
    }
    if (key == kKeyNoZone) continue;
    // A click elsewhere takes the typed code as Enter does; where it goes
    // is read while the rows are those clicked.
    const bool clicked = key == kKeyFieldClick;
    if (clicked && ClickedFieldNumber() == kFieldLines) clickedLine_ = ClickedLine();
    const bool moves = key == kKeyEnter || key == kKeyDown || key == kKeyUp || clicked;
    if (moves && text != current && !TypeLineCode(c, text)) {
      clickedLine_.reset();
      continue;
    }
    if (!moves) DrawLine(c.group, c.index);
    editingLine_ = false;
    return key;
  }
}

uint8_t AnalysesScreen::EditQuantity(LineCursor& c) {
  EditLine& l = lines_.lines[c.group][c.index];
  long double q = Get(l.line, analysis_line::Quantity);
  uint8_t key = 0;
  const FieldDescriptor d = LineDescriptor(LineField::kQuantity, RowOf(c.group, c.index));
  EditField(kArea, q, d, key, LineExits({}));
  if (q != Get(l.line, analysis_line::Quantity) || q == 0) {
    Set(l.line, analysis_line::Quantity, q);
    MarkChanged();
  }
  ShowField(kArea, d, q, ShowMode::Value);
  return key;
}

uint8_t AnalysesScreen::EditGlobalText(LineCursor& c) {
  EditLine& l = lines_.lines[c.group][c.index];
  std::string text = l.cache.description;
  uint8_t key = 0;
  EditField(kArea, text, LineDescriptor(LineField::kDescription, RowOf(c.group, c.index)), key,
            LineExits({kKeyEnd}));
  if (text != l.cache.description) {
    l.cache.description = text;
    l.cache.priceChanged = true;
    MarkChanged();
  }
  return key;
}

uint8_t AnalysesScreen::EditGlobalPrice(LineCursor& c) {
  EditLine& l = lines_.lines[c.group][c.index];
  long double price = l.cache.price;
  uint8_t key = 0;
  const FieldDescriptor d = LineDescriptor(LineField::kPrice, RowOf(c.group, c.index));
  EditField(kArea, price, d, key, LineExits({kKeyHome}));
  if (price != l.cache.price) {
    l.cache.price = price;
    l.cache.priceChanged = l.cache.renewDate = true;
    MarkChanged();
  }
  ShowField(kArea, d, price, ShowMode::Value);
  return key;
}

uint8_t AnalysesScreen::EditLineField(LineCursor& c) {
  switch (c.field) {
    case LineField::kQuantity:
      return EditQuantity(c);
    case LineField::kDescription:
      return EditGlobalText(c);
    case LineField::kPrice:
      return EditGlobalPrice(c);
    default:
      return EditLineCode(c);
  }
}

uint8_t AnalysesScreen::RunLines(LineCursor c) {
  for (;;) {
    if (c.index >= lines_.Count(c.group)) c.field = LineField::kCode;
    const uint8_t key = EditLineField(c);
    if (key == kKeyFieldClick && ClickedFieldNumber() == kFieldLines) {
      c = clickedLine_.value_or(ClickedLine());
      clickedLine_.reset();
      continue;
    }
    std::vector<LineCursor> stops = Stops();
    size_t at = 0;
    for (size_t i = 0; i < stops.size(); ++i)
      if (stops[i].group == c.group && stops[i].index <= c.index) at = i;
    const bool hasLine = c.index < lines_.Count(c.group);
    const bool global = hasLine && TypeOf(lines_.lines[c.group][c.index]) == LineType::kGlobal;
    if (key == kKeyTab) {
      if (hasLine) RemoveLine(c);
      continue;
    }
    if (key == kKeyEnd && c.field == LineField::kDescription) {
      c.field = LineField::kPrice;
      continue;
    }
    if (key == kKeyHome && c.field == LineField::kPrice) {
      c.field = LineField::kDescription;
      continue;
    }
    if (key == kKeyEnter && hasLine && c.field == LineField::kCode) {
      c.field = global ? LineField::kDescription : LineField::kQuantity;
      continue;
    }
    if (key == kKeyEnter && global && c.field == LineField::kDescription) {
      c.field = LineField::kPrice;
      continue;
    }
    if (key == kKeyEnter || key == kKeyDown) {
      if (at + 1 >= stops.size()) return key;
      c = stops[at + 1];
      continue;
    }
    if (key == kKeyUp) {
      if (at == 0 && c.field == LineField::kCode) return key;
      c = c.field == LineField::kCode ? stops[at - 1] : stops[at];
      continue;
    }
    return key;
  }
}

}  // namespace vantu
