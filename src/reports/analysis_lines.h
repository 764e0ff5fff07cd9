#pragma once
// The lines of one unit price analysis as its listings print them: per
// group section, the referenced input, analysis or global price with its
// price, quantity and partial, the minor tools and waste lines, and the
// section's subtotal.

#include <optional>
#include <string>
#include <vector>

#include "records/analysis_records.h"
#include "records/general_record.h"

namespace vantu {

struct AnalysisPrintLine {
  std::string code;  // code form, "-----" for globals and the extra lines
  std::string description;
  std::string unit;
  std::optional<long double> price, quantity, partial;
};

struct AnalysisSection {
  int group = 1;
  std::vector<AnalysisPrintLine> lines;
  long double subtotal = 0;
};

// The sections of groups 1 to 4 that have something to print, or all four.
std::vector<AnalysisSection> AnalysisSections(const AnalysisRecord& a, const GeneralDataRecord& g,
                                              bool withEmpty = false);

// The description in capitals (ñ to Ñ).
std::string UpperDescription(const std::string& s);

}  // namespace vantu
