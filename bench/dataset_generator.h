#pragma once
// Data-set generator: writes a consistent Rama (files 1-5) and, optionally,
// one of its Obras (file 6) into a data directory, through the storage
// engine, the work areas and the record layouts.
//
// What it writes:
//   file 1  the general data in record 1: names, AIU mode and percentages,
//           IVA, the four price factors
//   file 2  group chapters (Equipos, Materiales, Transportes, Mano de Obra,
//           repeated in that order when more chapters are needed) and
//           basic inputs with Spanish descriptions, units and prices
//   file 3  a first chapter of mixes (concrete, mortar) and then chapters of
//           work activities; every analysis uses inputs of each section's
//           own group, many use earlier analyses (two levels at most, so
//           there is no cycle) and some use global prices
//   file 4  chapters of subcontracts, by percentages or by values
//   file 5  one global price per analysis line of type 5, numbered from 1
//   file 6  budget chapters and items that refer to analyses, subcontracts
//           and global amounts, and the Obra's header fields
// Codes follow chapter order: chapter "01", items "01010", "01020" ...
// (steps of 10 while a chapter has room for them, else smaller steps).
// Records are added in code order, so record numbers follow the keys.
//
// A calculated set is one the program's review and calculation has run on
// (the generation before `generation` stamped first, so that the run stamps
// `generation`): every file's ChangeMarker 0 and SetSerial = generation, the
// computed fields filled, CalcStamp +generation on what the budget uses and
// -generation on the other analyses. An uncalculated set looks freshly
// entered: ChangeMarker 1, SetSerial 0, computed fields and CalcStamps 0.
//
// Everything is derived from the seed, so equal shapes give equal files.

#include <array>
#include <cstdint>
#include <string>

namespace vantu::dataset {

// Records per data file are at most 32,766 (32,767 with the header).
inline constexpr int kMaxRecords = 32766;

struct DatasetShape {
  std::string directory;    // created when missing; a set of the same codes is replaced
  std::string rama = "A";   // one character
  std::string obra = "01";  // two characters; empty writes no Obra
  // Records in use per file, chapters included.
  int inputRecords = 600;        // file 2, at least 8 (four chapters, four inputs)
  int analysisRecords = 1500;    // file 3, at least 2
  int subcontractRecords = 120;  // file 4, 0 or at least 2
  // File 5, at most twice the analyses (not chapters). With none, file 5
  // keeps the empty record 1 that opening an empty file writes.
  int globalRecords = 150;
  int budgetRecords = 800;  // file 6, at least 2 with an Obra
  bool calculated = false;
  int16_t generation = 1;  // SetSerial of a calculated set, 1..9999
  int16_t aiuMode = 1;     // 1 "Cada Item", 2 "Al final"
  // "Ajuste al peso (omitir centavos)" while a calculated set is calculated.
  bool roundToPeso = false;
  uint32_t seed = 20240611;
};

// Every file at the largest size: 32,766 records of files 2 to 6.
DatasetShape MaximumShape(const std::string& directory);

struct DatasetSummary {
  std::array<int, 7> records{};   // records in use of files 1..6 (index = file number)
  std::array<int, 7> chapters{};  // chapter records of files 2, 3, 4 and 6
  long double budgetTotal = 0;    // sum of ItemTotal; 0 for an uncalculated set
};

// Writes the set. The storage engine must be started; work areas 1-6 are
// used and left closed, and the selection's data directory is restored.
// A shape outside the limits above throws std::invalid_argument before any
// file is touched.
DatasetSummary GenerateDataset(const DatasetShape& shape);

}  // namespace vantu::dataset
