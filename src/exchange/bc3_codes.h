#pragma once
// How the program's codes become concept codes of an exchange (.bc3) file.
// Codes of different files can be equal (a basic input and a subcontract
// may both be "01010"), and a concept code names one thing in the whole
// file, so every kind but inputs and analyses carries a letter.
//
//   basic input         "01010"     as stored (5 characters)
//   analysis            "010020"    as stored (6 characters)
//   subcontract         "S01010"
//   global price        "G00012"    file 5 record number
//   global budget item  "P01010"    the item's code
//   budget chapter      "01#"
//   root of the budget  "A01##"     Rama and Obra ("A##" for a Rama alone)
//   analysis materials with waste      "010020M"
//   analysis labour with minor tools   "010020O"
//   percentages: "%DESP" (waste), "%HM" (minor tools); the yield of a
//   percentage line is the rate per one and applies to the lines above it

#include <string>

namespace vantu::bc3 {

inline const std::string kWastePercent = "%DESP";
inline const std::string kMinorToolsPercent = "%HM";

inline std::string SubcontractCode(const std::string& code) {
  return "S" + code;
}
std::string GlobalCode(int recNo);
inline std::string GlobalItemCode(const std::string& itemCode) {
  return "P" + itemCode;
}
inline std::string ChapterCode(const std::string& code) {
  return code + "#";
}
inline std::string RootCode(const std::string& rama, const std::string& obra) {
  return rama + obra + "##";
}
inline std::string MaterialsPartCode(const std::string& analysis) {
  return analysis + "M";
}
inline std::string LabourPartCode(const std::string& analysis) {
  return analysis + "O";
}

// The concept type of a basic input of group 1..4: 2 machinery and
// equipment, 3 materials, 1 labour; transport has no type of its own (0).
int InputType(int group);

}  // namespace vantu::bc3
