#pragma once
// Updating the open Rama's prices from a price bank (an exchange file).
// The Rama must be open as the selection leaves it: its lock held, files
// 1-5 in their work areas, marked in use before the first write.
//
// Files beside the set, in the data directory (CSV, UTF-8, ';'):
//   the codes file: "codigo original;codigo nuevo;tipo;resumen", as the
//     import writes it; the one given, else "importacion-<R>01.csv" when
//     there is one, else "codigos-<R>.csv". The codes given to new items
//     are added to it, so the next update finds them.
//   "actualizacion-<R>.csv", the report: one row per change, new item,
//     price the bank lacks or leaves at zero, and decomposition left aside.
//   "actualizacion-<R>.csv.pendiente": the report of an update whose
//     writing has begun; it becomes the report when the writing ends. An
//     update stopped half-way is repeated from the same bank: the pending
//     report gives back the prices from before the stop, so the repeated
//     run ends with the set and the report an unbroken one leaves.
//
// Order of the writes: pending report, codes file, the files' change
// markers (the set needs calculation from then on), new chapters, items,
// the report. A stop anywhere leaves what the recovery repairs.

#include <string>
#include <vector>

#include "exchange/price_update_plan.h"

namespace vantu {

struct PriceUpdateRequest {
  std::string file;  // the bank
  std::string dir;   // the data directory of the open Rama
  std::string rama;
  std::string mapPath;  // "" for the default codes file
};

struct PriceUpdateResult {
  std::string refused;  // the bank cannot be applied: why (nothing written)
  std::string failure;  // the update could not be carried out: why
  std::string reportPath, mapPath;
  PriceUpdatePlan plan;
  bool Ok() const { return refused.empty() && failure.empty(); }
};

std::string DefaultCodesPath(const std::string& dir, const std::string& rama);
std::string PriceReportPath(const std::string& dir, const std::string& rama);

PriceUpdateResult UpdateRamaPrices(const PriceUpdateRequest& request);

// Counts of the update, one line each ("precios cambiados: 12").
std::vector<std::string> PriceUpdateSummary(const PriceUpdatePlan& plan);

// The report's text.
std::string PriceReportCsv(const PriceUpdatePlan& plan);

}  // namespace vantu
