#pragma once
// Where the code lists read their data: the records of the indexed files
// (work areas 2 basic inputs, 3 analyses, 4 subcontracts, 6 budget) in code
// order. The file sets provide the real source over the work areas; tests
// use an in-memory one.

#include <optional>
#include <string>
#include <vector>

namespace vantu {

// One row of a list: a chapter (2-character code) or an item.
struct ListEntry {
  std::string code;         // up to 6 characters
  std::string description;  // up to 35 characters; the chapter title for chapters
};

inline bool IsChapterCode(const std::string& code) {
  return code.size() == 2;
}

// What the detail window shows of a record. Costs are the values stored
// by the last calculation.
struct ItemDetail {
  enum class Kind { Chapter, BasicInput, GlobalPrice, Analysis, Subcontract, BudgetItem };
  Kind kind = Kind::Chapter;
  std::string code, description, unit;
  long double price = 0;  // basic input price; global price
  // Analysis.
  long double herramientaMenorPct = 0, desperdicioPct = 0;
  struct Line {
    int group = 0;  // 1..4
    bool global = false;
    std::string description, unit;
    long double price = 0, quantity = 0;
  };
  std::vector<Line> lines;
  long double indirectCosts = 0;  // minor tools plus waste
  // Analysis and subcontract costs.
  long double equipos = 0, materiales = 0, transportes = 0, manoDeObra = 0;
  long double directCost = 0, unitPrice = 0;
  bool circular = false;     // the cost met a circular reference
  bool costMissing = false;  // the cost cannot be computed
  // Budget item.
  long double quantity = 0, itemTotal = 0;
  bool porDefinir = false;
};

class CodeListSource {
 public:
  virtual ~CodeListSource() = default;
  // True when the file of list kind `kind` holds records.
  virtual bool HasRecords(int kind) = 0;
  // First entry whose code is at or after `code` in code order ("" = first).
  virtual std::optional<ListEntry> Seek(int kind, const std::string& code) = 0;
  // Entry right after / right before `code`.
  virtual std::optional<ListEntry> Next(int kind, const std::string& code) = 0;
  virtual std::optional<ListEntry> Prev(int kind, const std::string& code) = 0;
  // The detail of a record; nullopt when the code is not there.
  virtual std::optional<ItemDetail> Detail(int kind, const std::string& code) = 0;
  // Group (1..4) of the chapter of a basic input, 0 when not defined.
  virtual int InputGroup(const std::string& code) = 0;
  // True when some budget item already refers to `code`.
  virtual bool BudgetUses(const std::string& code) = 0;
  // The Rama applies the AIU to every item.
  virtual bool AiuPerItem() = 0;
};

// The source the lists use; null until the file sets install theirs.
CodeListSource* ListSource();
void SetListSource(CodeListSource* source);

}  // namespace vantu
