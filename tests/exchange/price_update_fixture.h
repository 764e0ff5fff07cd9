#pragma once
// A generated Rama and price banks written from its own records: some
// prices changed, some the same, some codes left out, and concepts the
// Rama does not have; and what files 2 and 4 hold afterwards.

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/export_text.h"
#include "exchange/price_update.h"
#include "import_fixture.h"
#include "toolkit/numbers.h"

namespace vantu::test {

// What an item of file 2 or 4 holds that an update may change.
struct ItemState {
  std::string description, unit, date;
  long double price = 0;
  std::array<long double, 4> values{};
  int16_t group = 0;  // chapters of file 2
  bool operator==(const ItemState&) const = default;
};
using SetState = std::map<std::string, ItemState>;  // "2:01010", "4:01" ...

inline std::ostream& operator<<(std::ostream& os, const ItemState& it) {
  os << "[" << it.description << "|" << it.unit << "|" << it.date << "|"
     << static_cast<double>(it.price) << "|" << it.group << "|";
  for (const long double v : it.values) os << static_cast<double>(v) << " ";
  return os << "]";
}

// The keys whose items differ, with both sides: "" when the states agree.
inline std::string Differences(const SetState& a, const SetState& b) {
  std::ostringstream out;
  for (const auto& [key, item] : a)
    if (!b.count(key) || !(b.at(key) == item))
      out << key << ": " << item << " / " << (b.count(key) ? b.at(key) : ItemState{}) << "\n";
  for (const auto& [key, item] : b)
    if (!a.count(key)) out << key << ": missing / " << item << "\n";
  return out.str();
}

class PriceUpdateTest : public ImportTest {
 protected:
  // Rama A without Obra, calculated.
  void GenerateRama() {
    dataset::DatasetShape shape = SmallShape();
    shape.obra = "";
    shape.budgetRecords = 0;
    shape.calculated = true;
    GenerateDataset(shape);
  }
  void OpenRama() {
    OpenSet("A");
    Selection().RamaCode = "A";
  }

  std::vector<InputRecord> Inputs() {
    std::vector<InputRecord> items;
    for (const InputRecord& r : InUse<InputRecord>(kAreaInputs))
      if (Get(r, coded::Code).size() == 5) items.push_back(r);
    return items;
  }
  std::vector<SubcontractRecord> Subcontracts() {
    std::vector<SubcontractRecord> items;
    for (const SubcontractRecord& r : InUse<SubcontractRecord>(kAreaSubcontracts))
      if (Get(r, coded::Code).size() == 5) items.push_back(r);
    return items;
  }

  static long double SubcontractPrice(const SubcontractRecord& r) {
    return Get(r, subcontract::EquiposValue) + Get(r, subcontract::MaterialesValue) +
           Get(r, subcontract::TransportesValue) + Get(r, subcontract::ManoDeObraValue);
  }

  static std::string Price(long double x) { return DecimalText(x, 2); }

  // The bank's records: of the Rama's inputs, the first `changed` at 10 %
  // more, the next `same` as they are, the rest left out; the first two
  // subcontracts at 5 % less; then `extra` records of its own.
  std::vector<std::string> BankOf(size_t changed, size_t same,
                                  const std::vector<std::string>& extra) {
    std::vector<std::string> records;
    const std::vector<InputRecord> inputs = Inputs();
    for (size_t i = 0; i < changed + same && i < inputs.size(); ++i) {
      const InputRecord& r = inputs[i];
      const long double p = Get(r, input::Price);
      records.push_back("C|" + Get(r, coded::Code) + "|" + Get(r, input::Unit) + "|" +
                        Get(r, input::Description) + "|" +
                        Price(i < changed ? RoundCents(p * 1.1L) : p) + "|010125|3");
    }
    const std::vector<SubcontractRecord> subs = Subcontracts();
    for (size_t i = 0; i < 2 && i < subs.size(); ++i)
      records.push_back("C|S" + Get(subs[i], coded::Code) + "|" + Get(subs[i], subcontract::Unit) +
                        "|Sub|" + Price(RoundCents(SubcontractPrice(subs[i]) * 0.95L)) + "||0");
    records.insert(records.end(), extra.begin(), extra.end());
    return records;
  }

  PriceUpdateResult Update(const fs::path& bank, const std::string& map = "") {
    PriceUpdateRequest r;
    r.file = bank.string();
    r.dir = dataDir.string();
    r.rama = "A";
    r.mapPath = map;
    return UpdateRamaPrices(r);
  }

  // Every record in use of files 2 and 4, read through the open areas.
  SetState State() {
    SetState s;
    for (const InputRecord& r : InUse<InputRecord>(kAreaInputs)) {
      const std::string code = Get(r, coded::Code);
      ItemState& it = s["2:" + code];
      it.description = Get(r, input::Description);
      if (code.size() == 2) {
        it.group = Get(r, input::Group);
        continue;
      }
      it.unit = Get(r, input::Unit);
      it.date = Get(r, coded::CreatedDate);
      it.price = Get(r, input::Price);
    }
    for (const SubcontractRecord& r : InUse<SubcontractRecord>(kAreaSubcontracts)) {
      const std::string code = Get(r, coded::Code);
      ItemState& it = s["4:" + code];
      it.description = Get(r, subcontract::Description);
      if (code.size() == 2) continue;
      it.unit = Get(r, subcontract::Unit);
      it.date = Get(r, coded::CreatedDate);
      it.price = Get(r, subcontract::DirectCost);
      it.values = {Get(r, subcontract::EquiposValue), Get(r, subcontract::MaterialesValue),
                   Get(r, subcontract::TransportesValue), Get(r, subcontract::ManoDeObraValue)};
    }
    return s;
  }

  std::string Text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  // The report's rows by kind and Rama code (or bank code when it has
  // none): "insumo:01010".
  std::map<std::string, std::vector<std::string>> Report() {
    std::map<std::string, std::vector<std::string>> rows;
    std::ifstream in(PriceReportPath(dataDir.string(), "A"), std::ios::binary);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
      std::vector<std::string> f = CsvFields(line);
      rows[f[2] + ":" + (f[0].empty() ? f[1] : f[0])] = f;
    }
    return rows;
  }
};

}  // namespace vantu::test
