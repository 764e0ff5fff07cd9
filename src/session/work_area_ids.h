#pragma once
// The eleven work areas through which every module reaches its files. Areas
// 1-6 are the data files of a Rama (1-5) and of an Obra (6); the others hold
// no file and only give their title and key buttons to a screen.

namespace vantu {

enum WorkAreaId : int {
  kAreaSelection = 0,       // " Seleccion Obra "
  kAreaGeneral = 1,         // file 1, general data of the Rama and Obra
  kAreaInputs = 2,          // file 2, basic inputs
  kAreaAnalyses = 3,        // file 3, unit price analyses
  kAreaSubcontracts = 4,    // file 4, subcontracts
  kAreaGlobals = 5,         // file 5, global prices
  kAreaBudget = 6,          // file 6, the Obra's work budget
  kAreaPrinting = 7,        // " Impresion"
  kAreaRecoding = 8,        // " Recodificacion "
  kAreaReindexing = 9,      // " Reindexacion "
  kAreaConfiguration = 10,  // " Configuracion "
};

constexpr int kWorkAreaCount = 11;

// Areas whose records are keyed by a chapter or item code.
constexpr bool IsCodedArea(int area) {
  return area == kAreaInputs || area == kAreaAnalyses || area == kAreaSubcontracts ||
         area == kAreaBudget;
}

// Areas of the Rama's files, opened while a Rama is selected.
constexpr bool IsRamaArea(int area) {
  return area >= kAreaGeneral && area <= kAreaGlobals;
}

constexpr bool IsValidArea(int area) {
  return area >= 0 && area < kWorkAreaCount;
}

}  // namespace vantu
