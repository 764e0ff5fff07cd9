#pragma once
// The Rama and Obra in use, read by every module.

#include <string>

namespace vantu {

struct SelectionState {
  std::string DataDirectory;  // up to 160 characters, no trailing separator
  std::string RamaCode;       // one character
  std::string ObraCode;       // two characters, or empty
  std::string RamaName;       // up to 35 characters
  std::string ObraName;
  bool RamaIsNew = false;
  bool ObraIsNew = false;
  bool RamaOpen = false;
  bool ObraOpen = false;
  std::string TodayDate;   // dd/mm/aa
  std::string HeaderLine;  // title line of the open set
  // The open Obra's header fields, loaded when the Obra is opened.
  std::string ObraReference;  // up to 35 characters
  std::string BudgetDate;     // dd/mm/aa
  long double AnticipoPct = 0;
  long double RetencionPct = 0;

  std::string SetExtension() const { return RamaCode + ObraCode; }
};

SelectionState& Selection();
void ResetSelection();

}  // namespace vantu
