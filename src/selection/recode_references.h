#pragma once
// After the codes changed, the references that analysis lines and budget
// items hold (record number, code and stamp of the record they use) get
// the codes of the records they name. Run over the open work areas.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vantu {

// What a reference holds.
struct Reference {
  int16_t record = 0;
  std::string code;
  std::array<uint8_t, 10> stamp{};
  bool operator==(const Reference&) const = default;
};

// Finds the records that references of one coded work area (2, 3 or 4)
// name. The record of the reference's number is taken when its code or its
// stamp still matches. Otherwise the number is stale, and only the record
// carrying the reference's stamp is taken: after a recodification the old
// code names some other record, and taking that one would change what the
// line costs without a word.
class ReferenceResolver {
 public:
  explicit ReferenceResolver(int area) : area_(area) {}
  // The reference as it should read; nothing when no record answers.
  std::optional<Reference> Resolve(const Reference& ref);

 private:
  std::optional<Reference> Read(int16_t record);
  void BuildStampIndex();

  int area_;
  bool stampsBuilt_ = false;
  std::unordered_map<std::string, int16_t> byStamp_;
  // What each record read gave. The run changes no code, stamp or status
  // of the files references name while it resolves, so a record is read
  // once.
  std::vector<std::optional<Reference>> read_;
  std::vector<bool> wasRead_;
};

// Every analysis line of type 2 or 3 gets the code and stamp of the record
// it names; the global prices of lines of type 5 get the analysis' code as
// their owner. Returns the analyses written.
int UpdateAnalysisReferences();
// Every budget item that uses an analysis or a subcontract, the same way.
// Returns the items written.
int UpdateBudgetReferences();

}  // namespace vantu
