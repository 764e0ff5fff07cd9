#include "exchange/price_update.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "exchange/export_text.h"
#include "exchange/import_run.h"
#include "exchange/text_charsets.h"
#include "records/coded_records.h"
#include "records/codes.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"
#include "toolkit/dates.h"
#include "toolkit/numbers.h"

namespace vantu {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPendingSuffix = ".pendiente";
constexpr const char* kReportHeading =
    "codigo;codigo en el banco;clase;cambio;descripcion;unidad;precio anterior;precio nuevo;%;"
    "nota\r\n";
constexpr const char* kSubcontractChapterName = "SUBCONTRATOS";

enum ReportColumn { kColCode, kColOriginal, kColKind, kColVerdict, kColOld = 6, kColNew };

bool ReadWhole(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return !in.bad();
}

// Lines of a CSV file after its heading.
std::vector<std::vector<std::string>> CsvRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!std::getline(in, line)) return rows;
  while (std::getline(in, line))
    if (!line.empty() && line != "\r") rows.push_back(CsvFields(line));
  return rows;
}

// The codes file's rows, original code (as the bank spells it) -> code
// and kind; a later row of one original code stands.
std::map<std::string, MappedCode> ReadCodes(const std::string& path) {
  std::map<std::string, MappedCode> codes;
  for (const auto& f : CsvRows(path))
    if (f.size() >= 3 && !f[0].empty() && !f[1].empty())
      codes[ToCp1252(f[0], TextCharset::kUtf8)] = {f[1], f[2]};
  return codes;
}

RamaPrices ReadRamaPrices() {
  RamaPrices p;
  {
    WorkArea& a = Area(kAreaInputs);
    InputRecord r{};
    for (int n = 1; n < FileRecordCount(a.Data); ++n) {
      GetRec(a.Data, static_cast<int16_t>(n), r.data());
      if (Get(r, coded::RecordStatus) != 0) continue;
      const std::string code = Get(r, coded::Code);
      if (IsChapterCode(code))
        p.inputChapters[code] = ChapterGroup(r);
      else
        p.inputs[code] = {
            Get(r, input::Description), Get(r, input::Unit), Get(r, input::Price), {}};
    }
  }
  WorkArea& a = Area(kAreaSubcontracts);
  SubcontractRecord r{};
  for (int n = 1; n < FileRecordCount(a.Data); ++n) {
    GetRec(a.Data, static_cast<int16_t>(n), r.data());
    if (Get(r, coded::RecordStatus) != 0) continue;
    const std::string code = Get(r, coded::Code);
    if (IsChapterCode(code)) {
      p.subcontractChapters.insert(code);
      continue;
    }
    RamaPrice s{Get(r, subcontract::Description), Get(r, subcontract::Unit), 0, {}};
    s.values = {Get(r, subcontract::EquiposValue), Get(r, subcontract::MaterialesValue),
                Get(r, subcontract::TransportesValue), Get(r, subcontract::ManoDeObraValue)};
    for (const long double v : s.values) s.price += v;
    s.price = RoundCents(s.price);  // the values are cents; their sum may carry binary dust
    p.subcontracts[code] = s;
  }
  return p;
}

// A run stopped after its pending report was written: the rows it had
// already applied read now as unchanged, and take back the verdict and the
// price from before, when the bank gives the same new price.
void RestorePending(const std::string& pendingPath, PriceUpdatePlan& plan) {
  std::map<std::string, std::vector<std::string>> pending;
  for (auto& f : CsvRows(pendingPath))
    if (f.size() > kColNew) pending[f[kColKind] + ";" + f[kColCode]] = f;
  for (PriceChange& row : plan.rows) {
    if (row.verdict != kSame && row.verdict != kChanged) continue;
    const auto p = pending.find(row.kind + ";" + row.code);
    if (p == pending.end()) continue;
    const std::vector<std::string>& f = p->second;
    if (f[kColVerdict] != kChanged && f[kColVerdict] != kAdded) continue;
    if (f[kColNew].empty() || std::strtold(f[kColNew].c_str(), nullptr) != row.newPrice) continue;
    row.verdict = f[kColVerdict];
    row.hasOld = !f[kColOld].empty();
    row.oldPrice = row.hasOld ? std::strtold(f[kColOld].c_str(), nullptr) : 0;
  }
}

std::string CodesCsvWithNew(const std::string& path, const std::vector<CodeMapping>& rows) {
  std::string text;
  const std::string added = MappingCsv(rows);
  if (!ReadWhole(path, text) || text.empty()) return added;
  if (text.back() != '\n') text += "\r\n";
  return text + added.substr(added.find('\n') + 1);
}

void AddInputChapter(const NewChapter& c) {
  WorkArea& a = Area(kAreaInputs);
  std::string key = c.code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  if (LastOpOk()) return;
  InputRecord rec{};
  InitCodedRecord(rec, c.code);
  Set(rec, input::Description, std::string(GroupName(c.group)));
  Set(rec, input::Group, static_cast<int16_t>(c.group));
  AddRec(a.Data, r, rec.data());
  AddKey(a.Index, r, key);
}

void AddSubcontractChapter(const NewChapter& c) {
  WorkArea& a = Area(kAreaSubcontracts);
  std::string key = c.code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  if (LastOpOk()) return;
  SubcontractRecord rec{};
  InitCodedRecord(rec, c.code);
  Set(rec, subcontract::Description, std::string(kSubcontractChapterName));
  Set(rec, subcontract::EntryMode, subcontract::kByValues);
  AddRec(a.Data, r, rec.data());
  AddKey(a.Index, r, key);
}

// The item's record as it stands, or a new one with its description and
// unit; `fill` sets the price; written in place or added with its key.
template <class R, class Fill>
void WriteItem(int area, const PriceChange& row, const StrField<R>& description,
               const StrField<R>& unit, Fill fill) {
  WorkArea& a = Area(area);
  std::string key = row.code;
  int16_t r = 0;
  FindKey(a.Index, r, key);
  const bool found = LastOpOk();
  R rec{};
  if (found) {
    GetRec(a.Data, r, rec.data());
  } else {
    InitCodedRecord(rec, row.code);
    Set(rec, description, row.description);
    Set(rec, unit, row.unit);
  }
  fill(rec);
  Set(rec, coded::CreatedDate, row.date);
  Set(rec, coded::ChangedFlag, uint8_t{1});
  if (found) {
    PutRec(a.Data, r, rec.data());
    return;
  }
  AddRec(a.Data, r, rec.data());
  AddKey(a.Index, r, key);
}

void WriteRow(const PriceChange& row) {
  if (row.kind == kInputKind) {
    WriteItem<InputRecord>(kAreaInputs, row, input::Description, input::Unit,
                           [&](InputRecord& r) { Set(r, input::Price, row.newPrice); });
    return;
  }
  WriteItem<SubcontractRecord>(kAreaSubcontracts, row, subcontract::Description, subcontract::Unit,
                               [&](SubcontractRecord& r) {
                                 Set(r, subcontract::EquiposValue, row.values[0]);
                                 Set(r, subcontract::MaterialesValue, row.values[1]);
                                 Set(r, subcontract::TransportesValue, row.values[2]);
                                 Set(r, subcontract::ManoDeObraValue, row.values[3]);
                                 Set(r, subcontract::DirectCost, row.newPrice);
                               });
}

// The set needs calculation before the first price changes, and keeps
// needing it whatever stops the writing.
void ApplyPlan(const PriceUpdatePlan& plan) {
  for (const int n : {kAreaInputs, kAreaSubcontracts}) {
    Area(n).SavedChangeMarker = 1;
    FlushWorkArea(n);
  }
  for (const NewChapter& c : plan.chapters)
    c.subcontract ? AddSubcontractChapter(c) : AddInputChapter(c);
  for (const PriceChange& row : plan.rows)
    if (row.Writes()) WriteRow(row);
  for (const int n : {kAreaInputs, kAreaSubcontracts}) FlushWorkArea(n);
}

std::string Amount(bool has, long double x) {
  return has ? DecimalText(x, 2) : "";
}

}  // namespace

std::string DefaultCodesPath(const std::string& dir, const std::string& rama) {
  const fs::path imported = fs::path(dir) / ("importacion-" + rama + "01.csv");
  std::error_code ec;
  if (fs::is_regular_file(imported, ec)) return imported.string();
  return (fs::path(dir) / ("codigos-" + rama + ".csv")).string();
}

std::string PriceReportPath(const std::string& dir, const std::string& rama) {
  return (fs::path(dir) / ("actualizacion-" + rama + ".csv")).string();
}

std::string PriceReportCsv(const PriceUpdatePlan& plan) {
  std::string out = kReportHeading;
  for (const PriceChange& r : plan.rows) {
    if (r.verdict == kSame) continue;
    const bool both = r.hasOld && r.hasNew && r.oldPrice != 0;
    out += CsvField(r.code) + ";" + CsvField(r.original) + ";" + r.kind + ";" + r.verdict + ";" +
           CsvField(r.description) + ";" + CsvField(r.unit) + ";" + Amount(r.hasOld, r.oldPrice) +
           ";" + Amount(r.hasNew, r.newPrice) + ";" +
           (both ? DecimalText((r.newPrice - r.oldPrice) * 100 / r.oldPrice, 2) : "") + ";" +
           CsvField(r.note) + "\r\n";
  }
  return out;
}

std::vector<std::string> PriceUpdateSummary(const PriceUpdatePlan& plan) {
  const std::pair<const char*, const char*> counts[] = {
      {"precios cambiados", kChanged},
      {"precios iguales", kSame},
      {"nuevos", kAdded},
      {"codigos de la Rama que faltan en el banco", kMissing},
      {"conceptos sin precio en el banco", kUnpriced},
      {"descomposiciones del banco no aplicadas", kNotApplied},
  };
  std::vector<std::string> lines;
  for (const auto& [label, verdict] : counts)
    lines.push_back(std::string(label) + ": " + std::to_string(plan.Count(verdict)));
  return lines;
}

PriceUpdateResult UpdateRamaPrices(const PriceUpdateRequest& request) {
  PriceUpdateResult result;
  std::error_code ec;
  result.mapPath =
      request.mapPath.empty() ? DefaultCodesPath(request.dir, request.rama) : request.mapPath;
  if (!request.mapPath.empty() && !fs::is_regular_file(request.mapPath, ec)) {
    result.failure = "no existe el archivo de codigos " + request.mapPath;
    return result;
  }
  std::string bytes;
  if (!ReadWhole(request.file, bytes)) {
    result.failure = "no se pudo leer " + request.file;
    return result;
  }
  const Bc3ReadResult read = ReadBc3(bytes);
  if (!read.error.empty()) {
    result.refused = request.file + ", " + read.error;
    return result;
  }
  result.reportPath = PriceReportPath(request.dir, request.rama);
  const std::string pending = result.reportPath + kPendingSuffix;
  result.plan =
      PlanPriceUpdate(read.doc, ReadRamaPrices(), ReadCodes(result.mapPath), TodayShort());
  PriceUpdatePlan& plan = result.plan;
  if (!plan.error.empty()) {
    result.refused = request.file + ", " + plan.error;
    return result;
  }
  if (fs::exists(pending, ec)) RestorePending(pending, plan);
  const std::string report = PriceReportCsv(plan);
  std::string failure = WriteFileReplacing(pending, report);
  if (failure.empty() && !plan.newMappings.empty())
    failure = WriteFileReplacing(result.mapPath, CodesCsvWithNew(result.mapPath, plan.newMappings));
  if (!failure.empty()) {
    fs::remove(pending, ec);
    result.failure = failure;
    return result;
  }
  ApplyPlan(plan);
  fs::rename(pending, result.reportPath, ec);
  if (ec) result.failure = "no se pudo escribir " + result.reportPath + ": " + ec.message();
  return result;
}

}  // namespace vantu
