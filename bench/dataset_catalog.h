#pragma once
// The construction vocabulary the generator draws on: basic inputs of the
// four groups with units, prices in pesos and the quantity one unit of work
// typically needs; work activities by chapter; subcontracts; global items.
// Text is Windows-1252 (only ñ 241 and Ñ 209 beyond ASCII).

#include <span>
#include <string>
#include <string_view>

namespace vantu::dataset {

struct InputEntry {
  const char* description;
  const char* unit;
  double price;
  double minQuantity, maxQuantity;  // per unit of an analysed item
};

struct ActivityEntry {
  const char* description;
  const char* unit;
};

struct Theme {
  const char* chapter;
  std::span<const ActivityEntry> activities;
};

// group 1..4: Equipos, Materiales, Transportes, Mano de Obra.
std::span<const InputEntry> InputCatalog(int group);
// "EQUIPOS", "MATERIALES", "TRANSPORTES", "MANO DE OBRA".
const char* GroupChapterName(int group);
// Chapters of analyses; the first holds the mixes that others use.
std::span<const Theme> AnalysisThemes();
std::span<const Theme> SubcontractThemes();
// Descriptions of global prices (file 5) and of global budget amounts.
std::span<const char* const> GlobalPriceNames();
std::span<const char* const> BudgetGlobalNames();

// The base text for the first use, then the base with " ref <n>" so that
// repeated entries stay distinguishable; clipped to capacity.
std::string VariantName(std::string_view base, int round, size_t capacity = 35);

}  // namespace vantu::dataset
