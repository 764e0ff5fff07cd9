#pragma once
// After the codes changed, the references that analysis lines and budget
// items hold (record number, code and stamp of the record they use) get
// the codes of the records they name. Run over the open work areas.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "selection/recode_files.h"
#include "session/work_area_ids.h"

namespace vantu {

// Finds the records that references of one coded work area (2, 3 or 4)
// name. The record of the reference's number is taken when its code or its
// stamp still matches. Otherwise the number is stale, and only the record
// carrying the reference's stamp is taken: after a recodification the old
// code names some other record, and taking that one would change what the
// line costs without a word.
class ReferenceResolver {
 public:
  explicit ReferenceResolver(int area) : area_(area) {}
  // The record that a reference holding record number `record`, code
  // `code` and the 10 bytes of `stamp` should name; 0 when none answers.
  int16_t Find(int16_t record, std::string_view code, const uint8_t* stamp);
  // The head of record r, found by Find.
  const RecordHead& Head(int16_t r) const;
  // Starts bringing record r's head into the cache, for a Find soon after.
  void Prefetch(int16_t r);
  // The heads of the area's records from a pass that has just read them,
  // to be used instead of reading them again.
  void Provide(std::vector<RecordHead> heads);

 private:
  bool InUse(int16_t record) const;
  void Load();
  void BuildStampIndex();

  int area_;
  // The status, code and stamp of every record of the area, read in one
  // pass when the first reference is resolved. The run changes no code,
  // stamp or status of the files references name while it resolves.
  bool loaded_ = false;
  std::vector<RecordHead> heads_;
  bool stampsBuilt_ = false;
  std::unordered_map<std::string, int16_t> byStamp_;
};

// The resolvers of one run. The analyses' heads serve both updates: the
// first one writes only lines, never a code, stamp or status.
struct ReferenceResolvers {
  ReferenceResolver inputs{kAreaInputs};
  ReferenceResolver analyses{kAreaAnalyses};
  ReferenceResolver subcontracts{kAreaSubcontracts};
  // The resolver of an area; nullptr for an area references never name.
  ReferenceResolver* For(int area);
};

// Every analysis line of type 2 or 3 gets the code and stamp of the record
// it names; the global prices of lines of type 5 get the analysis' code as
// their owner. Returns the analyses written.
int UpdateAnalysisReferences(ReferenceResolvers& resolvers);
// Every budget item that uses an analysis or a subcontract, the same way.
// Returns the items written.
int UpdateBudgetReferences(ReferenceResolvers& resolvers);

}  // namespace vantu
