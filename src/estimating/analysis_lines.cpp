// The sections of the analysis being edited and the rules a line code
// must pass before it goes into one.
#include "estimating/analysis_lines.h"

#include <algorithm>
#include <numeric>

#include "records/codes.h"
#include "records/references.h"
#include "session/work_area_ids.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

constexpr int kGroups = analysis::kGroups;
constexpr int kSlots = analysis::kLineSlots;

// Group names as the refusal of a misplaced input says them.
std::string SingularGroupName(int group) {
  switch (group) {
    case 1:
      return "Equipo";
    case 2:
      return "Material";
    case 3:
      return "Transporte";
    case 4:
      return "Mano de Obra";
    default:
      return {};
  }
}

int RowSum(const AnalysisLines& m) {
  return std::accumulate(m.rows.begin() + 1, m.rows.end(), 0);
}

// Rows that add up to 15, each section at least as large as its lines.
void RepairRows(AnalysisLines& m) {
  bool empty = RowSum(m) == 0;
  for (int g = 1; g <= kGroups; ++g) empty = empty && m.lines[g].empty();
  if (empty) {
    m.rows = {0, 3, 6, 2, 4};
    return;
  }
  for (int g = 1; g <= kGroups; ++g) m.rows[g] = std::max(m.rows[g], m.Count(g));
  while (RowSum(m) < kSlots) ++m.rows[kGroups];
  while (RowSum(m) > kSlots) {
    int most = 0;
    for (int g = 1; g <= kGroups; ++g)
      if (m.rows[g] > m.Count(g) &&
          (most == 0 || m.rows[g] - m.Count(g) > m.rows[most] - m.Count(most)))
        most = g;
    if (most == 0) break;  // ReadSections never gives more than 15 lines
    --m.rows[most];
  }
}

AnalysisLine MakeLine(LineType type, const std::string& code, int16_t recNo, long double stamp,
                      long double quantity) {
  AnalysisLine l;
  Set(l, analysis_line::LineType, static_cast<uint8_t>(type));
  Set(l, analysis_line::RefCode, code);
  Set(l, analysis_line::RefRecNo, recNo);
  Set(l, analysis_line::RefStamp, stamp);
  Set(l, analysis_line::Quantity, quantity);
  return l;
}

std::optional<int16_t> FindCode(int area, const std::string& code, uint8_t* buffer) {
  if (!Area(area).Data.isOpen || !Area(area).Index.File.isOpen) return std::nullopt;
  std::string key = code;
  int16_t r = 0;
  FindKey(Area(area).Index, r, key);
  if (!LastOpOk()) return std::nullopt;
  GetRec(Area(area).Data, r, buffer);
  return r;
}

bool NumericZero(const std::string& code) {
  return std::all_of(code.begin(), code.end(), [](char c) { return c == '0'; });
}

LineCodeOutcome Refuse(std::string text) {
  return {std::move(text), {}};
}

// An accepted input or analysis: its reference and display data; the
// quantity stays unless the line was empty or global.
EditLine Referenced(LineType type, const std::string& code, int16_t r, long double stamp,
                    const std::string& description, const std::string& unit, long double price,
                    const EditLine& previous) {
  const LineType before = TypeOf(previous);
  const bool keepQuantity = before == LineType::kInput || before == LineType::kAnalysis;
  const long double quantity = keepQuantity ? Get(previous.line, analysis_line::Quantity) : 0;
  EditLine l;
  l.line = MakeLine(type, code, r, stamp, quantity);
  l.cache = {description, unit, price, false, false};
  return l;
}

LineCodeOutcome CheckInput(const std::string& code, int group, const EditLine& previous) {
  InputRecord in;
  const auto r = FindCode(kAreaInputs, code, in.data());
  if (!r) return Refuse("Codigo [" + code + "] inexistente");
  InputRecord chapter;
  const std::string ch = ChapterOf(code);
  const int chapterGroup = FindCode(kAreaInputs, ch, chapter.data()) ? ChapterGroup(chapter) : 0;
  if (chapterGroup == 0) return Refuse("Regrese a Insumos Basicos y defina el Grupo [" + ch + "]");
  if (chapterGroup != group)
    return Refuse("El codigo [" + code + "] fue clasificado como " +
                  SingularGroupName(chapterGroup));
  return {{},
          Referenced(LineType::kInput, code, *r, Get(in, coded::RecordStamp),
                     Get(in, input::Description), Get(in, input::Unit), Get(in, input::Price),
                     previous)};
}

LineCodeOutcome CheckAnalysis(const std::string& code, const std::string& ownCode,
                              const EditLine& previous) {
  AnalysisRecord a;
  const auto r = FindCode(kAreaAnalyses, code, a.data());
  if (!r) return Refuse("Codigo [" + code + "] Inexistente");
  if (code == ownCode) return Refuse("El Codigo [" + code + "] no puede llamarse a si mismo");
  return {{},
          Referenced(LineType::kAnalysis, code, *r, Get(a, coded::RecordStamp),
                     Get(a, analysis::Description), Get(a, analysis::Unit),
                     Get(a, analysis::UnitPrice), previous)};
}

// A global line: record 0 until the analysis is saved, quantity 1.
EditLine GlobalLine(const std::string& code, const EditLine& previous) {
  EditLine l;
  l.line = MakeLine(LineType::kGlobal, code, 0, 0, 1);
  l.cache.unit = kGlobalUnit;
  if (TypeOf(previous) == LineType::kGlobal) {
    l.cache.description = previous.cache.description;
    l.cache.price = previous.cache.price;
  }
  l.cache.priceChanged = l.cache.renewDate = true;
  return l;
}

bool ResolveGlobal(EditLine& l, const std::string& ownCode) {
  const int16_t r = Get(l.line, analysis_line::RefRecNo);
  WorkArea& a = Area(kAreaGlobals);
  l.cache.unit = kGlobalUnit;
  Set(l.line, analysis_line::Quantity, 0.0L);
  GlobalPriceRecord g;
  if (!a.Data.isOpen || r < 1 || r >= FileRecordCount(a.Data)) {
    l.cache.description = kDeletedReference;
    return false;
  }
  GetRec(a.Data, r, g.data());
  if (Get(g, global_price::RecordStatus) != 0) {
    l.cache.description = kDeletedReference;
    return false;
  }
  l.cache.description = Get(g, global_price::Description);
  l.cache.price = Get(g, global_price::GlobalPrice);
  if (Get(g, global_price::OwnerCode) != ownCode) {
    Set(g, global_price::OwnerCode, ownCode);
    PutRec(a.Data, r, g.data());
    a.SavedChangeMarker = 1;
  }
  return false;
}

// Follows an input or analysis reference; true when the line was repaired.
bool ResolveCoded(EditLine& l) {
  const bool input = TypeOf(l) == LineType::kInput;
  const int area = input ? kAreaInputs : kAreaAnalyses;
  AnalysisRecord buffer;  // large enough for either record
  const std::string code = CodeOf(l);
  const auto r = ResolveReference(area, Get(l.line, analysis_line::RefRecNo),
                                  Get(l.line, analysis_line::RefStamp), code, buffer.data());
  if (!r) {
    l.cache = {kDeletedReference, "", 0, false, false};
    return false;
  }
  const std::string found = Get(buffer, coded::Code);
  const long double stamp = Get(buffer, coded::RecordStamp);
  bool repaired = false;
  if (found != code || stamp != Get(l.line, analysis_line::RefStamp) ||
      *r != Get(l.line, analysis_line::RefRecNo)) {
    Set(l.line, analysis_line::RefCode, found);
    Set(l.line, analysis_line::RefStamp, stamp);
    Set(l.line, analysis_line::RefRecNo, *r);
    repaired = true;
  }
  if (input) {
    InputRecord in;
    std::copy_n(buffer.bytes.begin(), InputRecord::kSize, in.bytes.begin());
    l.cache = {Get(in, input::Description), Get(in, input::Unit), Get(in, input::Price), false,
               false};
  } else {
    l.cache = {Get(buffer, analysis::Description), Get(buffer, analysis::Unit),
               Get(buffer, analysis::UnitPrice), false, false};
  }
  return repaired;
}

}  // namespace

LineType TypeOf(const EditLine& l) {
  return static_cast<LineType>(Get(l.line, analysis_line::LineType));
}

std::string CodeOf(const EditLine& l) {
  return Get(l.line, analysis_line::RefCode);
}

int AnalysisLines::SlotOf(int g, int i) const {
  int slot = 1;
  for (int h = 1; h < g; ++h) slot += rows[h];
  return slot + i;
}

std::optional<std::pair<int, int>> AnalysisLines::At(int slot) const {
  int first = 1;
  for (int g = 1; g <= kGroups; ++g) {
    if (slot < first + rows[g]) return std::make_pair(g, slot - first);
    first += rows[g];
  }
  return std::nullopt;
}

bool AnalysisLines::Grow(int g) {
  int giver = 0;
  for (int h = 1; h <= kGroups; ++h) {
    if (h == g || rows[h] <= Count(h)) continue;
    if (giver == 0 || rows[h] - Count(h) > rows[giver] - Count(giver)) giver = h;
  }
  if (giver == 0) return false;
  --rows[giver];
  ++rows[g];
  return true;
}

void AnalysisLines::Remove(int g, int i) {
  if (i < 0 || i >= Count(g)) return;
  lines[g].erase(lines[g].begin() + i);
}

void AnalysisLines::Put(int g, int i, const EditLine& l) {
  if (i < Count(g)) {
    lines[g][i] = l;
  } else if (Count(g) < rows[g]) {
    lines[g].push_back(l);
  }
}

std::vector<std::string> AnalysisLines::OtherCodes(int g, int i) const {
  std::vector<std::string> codes;
  for (int h = 1; h <= kGroups; ++h)
    for (int j = 0; j < Count(h); ++j)
      if (h != g || j != i) codes.push_back(CodeOf(lines[h][j]));
  return codes;
}

AnalysisSections AnalysisLines::ToSections() const {
  AnalysisSections s;
  for (int g = 1; g <= kGroups; ++g) {
    s.rows[g] = rows[g];
    for (const EditLine& l : lines[g]) s.lines[g].push_back(l.line);
  }
  return s;
}

AnalysisLines LinesOf(const AnalysisRecord& r) {
  const AnalysisSections s = ReadSections(r);
  AnalysisLines m;
  for (int g = 1; g <= kGroups; ++g) {
    m.rows[g] = s.rows[g];
    for (const AnalysisLine& l : s.lines[g]) m.lines[g].push_back({l, {}});
  }
  RepairRows(m);
  return m;
}

void StoreLines(AnalysisRecord& r, const AnalysisLines& m) {
  WriteSections(r, m.ToSections());
}

LineCodeOutcome CheckLineCode(const std::string& typed, int group, const std::string& ownCode,
                              const std::vector<std::string>& otherCodes,
                              const EditLine& previous) {
  if (typed.empty()) return {};
  const std::string code = NormalizeLineCode(typed);
  if (!NumericZero(code) &&
      std::find(otherCodes.begin(), otherCodes.end(), code) != otherCodes.end())
    return Refuse("Item [" + code + "] duplicado");
  switch (ClassifyLineCode(code)) {
    case LineType::kInput:
      return CheckInput(code, group, previous);
    case LineType::kAnalysis:
      return CheckAnalysis(code, ownCode, previous);
    case LineType::kGlobal:
      return {{}, GlobalLine(code, previous)};
    default:
      return Refuse(" Debe usar 5 o 6 caracteres ");
  }
}

bool ResolveLines(AnalysisLines& m, const std::string& ownCode) {
  bool repaired = false;
  for (int g = 1; g <= kGroups; ++g) {
    for (EditLine& l : m.lines[g]) {
      switch (TypeOf(l)) {
        case LineType::kGlobal:
          ResolveGlobal(l, ownCode);
          break;
        case LineType::kInput:
        case LineType::kAnalysis:
          repaired = ResolveCoded(l) || repaired;
          break;
        default:
          l.cache = {};
      }
    }
  }
  return repaired;
}

}  // namespace vantu
