#pragma once
// The generator's working state: every record it writes, kept in memory by
// record number (index r - 1) so that references and the calculated values
// can be taken from it, and the helpers the file writers share.

#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "dataset_catalog.h"
#include "dataset_generator.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/codes.h"
#include "records/general_record.h"
#include "storage/file_sets.h"
#include "storage/storage_engine.h"

namespace vantu::dataset {

// How a file's records split into chapters: items per chapter and the step
// between item numbers, so that the largest number fits the code's digits.
struct ChapterPlan {
  std::vector<int> items;  // per chapter
  std::vector<int> step;   // per chapter
};
// records: chapters and items together; typical: items a chapter usually
// holds; maxNumber: 999 or 9999; multiple: the chapter count is a multiple
// of it (4 for the group chapters of file 2).
ChapterPlan PlanChapters(int records, int typical, int maxNumber, int multiple);

std::string ChapterCode(int chapter);  // 1 -> "01"
std::string ItemCode(int chapter, int number, int digits);

struct Builder {
  explicit Builder(const DatasetShape& s) : shape(s), rng(s.seed) {}

  const DatasetShape& shape;
  std::mt19937 rng;
  GeneralDataRecord general{};

  std::vector<InputRecord> inputs;
  std::vector<const InputEntry*> inputEntry;          // catalog entry; null for a chapter
  std::array<std::vector<int16_t>, 5> inputsOfGroup;  // item record numbers, groups 1..4
  std::vector<AnalysisRecord> analyses;
  std::vector<int8_t> analysisDepth;  // nesting levels below; -1 for a chapter
  std::vector<int16_t> analysisItems;
  std::vector<GlobalPriceRecord> globals;
  std::vector<SubcontractRecord> subcontracts;
  std::vector<int16_t> subcontractItems;
  std::vector<BudgetRecord> budget;
  DatasetSummary summary;

  // Deterministic on every standard library: no std distributions.
  double Unit() { return static_cast<double>(rng() >> 8) / 16777216.0; }
  int Below(int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); }
  double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  std::string Date();  // "dd/mm/aa" in 2023-2024
};

// Adds a coded record to the file and the index of work area n and returns
// its number; the record receives its stamp.
template <class R>
int16_t AddCoded(int n, R& record) {
  int16_t r = 0;
  AddRec(Area(n).Data, r, record.data());
  std::string key = Get(record, coded::Code);
  AddKey(Area(n).Index, r, key);
  if (!LastOpOk()) throw std::logic_error("dataset: code written twice: " + key);
  return r;
}

// Amounts as the entry screens take them.
long double Cents(double value);
long double Decimals(double value, int places);

// The writers, in the order GenerateDataset runs them.
void WriteGeneralData(Builder& b);
void WriteInputs(Builder& b);
void WriteAnalyses(Builder& b);  // with the global prices of file 5
void WriteSubcontracts(Builder& b);
void WriteBudget(Builder& b);
}  // namespace vantu::dataset
