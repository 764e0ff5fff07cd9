#pragma once
// What a price bank (an exchange file of prices) changes in a Rama, before
// anything is written. Each leaf concept of the bank is matched to a basic
// input or subcontract of the Rama by its code: the code a mapping file
// gives it ("codigo original;codigo nuevo;tipo", kinds "insumo" and
// "subcontrato"), else the Rama's own code as the export writes it ("01010"
// an input, "S01010" a subcontract). Matched ones take the bank's price;
// the others are new and get codes of their own, inputs in a chapter of
// their group (by the concept's type, as the import groups them) and
// subcontracts, the leaves a chapter of the bank uses, in the last
// subcontract chapter. Concepts with a decomposition that match nothing
// are analyses: reported, never applied, so no analysis changes shape.

#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exchange/bc3_document.h"
#include "exchange/import_plan.h"

namespace vantu {

struct RamaPrice {
  std::string description, unit;
  long double price = 0;                // input: Price; subcontract: the values' sum
  std::array<long double, 4> values{};  // subcontract: Equipos .. Mano de Obra
};

// The Rama's items and chapters as files 2 and 4 hold them.
struct RamaPrices {
  std::map<std::string, RamaPrice> inputs, subcontracts;  // by code
  std::map<std::string, int> inputChapters;               // chapter -> group
  std::set<std::string> subcontractChapters;
};

struct MappedCode {
  std::string code, kind;
};

// The report's verdicts.
inline constexpr const char* kChanged = "cambia";
inline constexpr const char* kSame = "igual";
inline constexpr const char* kAdded = "nuevo";
inline constexpr const char* kMissing = "falta en el banco";
inline constexpr const char* kUnpriced = "sin precio en el banco";
inline constexpr const char* kNotApplied = "descomposicion no aplicada";
inline constexpr const char* kInputKind = "insumo";
inline constexpr const char* kSubcontractKind = "subcontrato";

struct PriceChange {
  std::string original;  // the bank's code ("" for a code the bank lacks)
  std::string code;      // the Rama's code ("" for an analysis not applied)
  std::string kind;      // kInputKind, kSubcontractKind, or "analisis"
  std::string verdict;   // kChanged, kSame, ...
  std::string description, unit, date, note;
  long double oldPrice = 0, newPrice = 0;
  bool hasOld = false, hasNew = false;
  int group = 0;                        // the group a new item goes to
  std::array<long double, 4> values{};  // a subcontract's values after the change
  bool Writes() const { return verdict == kChanged || verdict == kAdded; }
};

struct NewChapter {
  std::string code;
  int group = 0;  // inputs: the chapter's group
  bool subcontract = false;
};

struct PriceUpdatePlan {
  std::vector<PriceChange> rows;     // in the bank's order, then what it lacks
  std::vector<NewChapter> chapters;  // to add before the items
  std::vector<CodeMapping> newMappings;
  std::string error;  // "" or why the update cannot be done (nothing written)
  int Count(const char* verdict) const;
};

// `today` ("dd/mm/aa") dates a changed price the bank leaves undated.
PriceUpdatePlan PlanPriceUpdate(const Bc3Document& bank, const RamaPrices& rama,
                                const std::map<std::string, MappedCode>& mapping,
                                const std::string& today);

}  // namespace vantu
