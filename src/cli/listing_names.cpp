#include "cli/listing_names.h"

#include <array>

#include "reports/budget_listings.h"
#include "reports/listing_engine.h"
#include "reports/price_forms.h"
#include "reports/schedule_listings.h"
#include "session/preferences.h"
#include "session/shell_state.h"

namespace vantu::cli {

namespace {

using ListingFn = bool (*)(int from, int to);

bool Analyses(int from, int to) {
  return Prefs().oneAnalysisPerPage ? ListAnalysesOnePerPage(from, to)
                                    : ListAnalysesSeveral(from, to);
}

template <ListingFn fn>
ListingRan One(int from, int to) {
  fn(from, to);
  return {1};
}

// The total budget listing: every listing ticked in the preferences, in
// the order of their check boxes, each whole with its separator page; the
// last three only with an Obra. Stops after an interruption.
ListingRan TotalBudget(int, int) {
  constexpr std::array<ListingFn, 7> kParts = {
      ListBasicInputs,  Analyses,       ListUnitPriceSummary, ListSubcontracts,
      ListRequirements, ListWorkBudget, ListBudgetSummary,
  };
  constexpr size_t kRamaParts = 4;
  const size_t count = Shell().obraSelected ? kParts.size() : kRamaParts;
  int ran = 0;
  for (size_t i = 0; i < count && Listing().listingContinue; ++i) {
    if (!Prefs().totalBudgetParts[i]) continue;
    ++ran;
    kParts[i](0, 0);
  }
  return {ran};
}

template <PriceForm form>
ListingRan Form(int from, int to) {
  WritePriceForm(form, from, to);
  return {1};
}

// A schedule listing is written whole; a refused one writes nothing.
template <int kind>
ListingRan Schedule(int, int) {
  ListingRan ran;
  if (WriteScheduleListing(kind, &ran.landscape) == ScheduleListingResult::Written) ran.count = 1;
  return ran;
}

}  // namespace

const std::vector<ListingName>& ListingNames() {
  static const std::vector<ListingName> kNames = {
      {"insumos", "Listado Insumos Basicos", false, false, One<ListBasicInputs>},
      {"analisis", "Listado Analisis Unitarios (segun las preferencias)", false, false,
       One<Analyses>},
      {"analisis-varios", "Analisis Unitarios, varios en cada hoja", false, false,
       One<ListAnalysesSeveral>},
      {"analisis-hoja", "Analisis Unitarios, uno en cada hoja", false, false,
       One<ListAnalysesOnePerPage>},
      {"resumen-precios", "Resumen Precios Unitarios", false, false, One<ListUnitPriceSummary>},
      {"subcontratos", "Listado Analisis Subcontratos", false, false, One<ListSubcontracts>},
      {"requerimientos", "Requerimientos Insumos Basicos", true, false, One<ListRequirements>},
      {"presupuesto", "Listado Presupuesto Obra", true, false, One<ListWorkBudget>},
      {"resumen-presupuesto", "Listado Resumen Presupuesto", true, false, One<ListBudgetSummary>},
      {"total", "Listado total Presupuesto (los marcados en las preferencias)", false, true,
       TotalBudget},
      {"formulario-insumos", "Formulario actualizacion Insumos Basicos", false, false,
       Form<PriceForm::Inputs>},
      {"formulario-globales", "Formulario actualizacion Precios Globales", false, false,
       Form<PriceForm::GlobalPrices>},
      {"formulario-subcontratos", "Formulario actualizacion Subcontratos", false, false,
       Form<PriceForm::Subcontracts>},
      {"cronograma", "Cronograma de Obra (grafico)", true, true, Schedule<15>},
      {"avance", "Avance de obra por periodo (grafico)", true, true, Schedule<16>},
      {"flujo-pagos", "Flujo de pagos (cuadro)", true, true, Schedule<17>},
      {"grafico-pagos", "Flujo de pagos (grafico)", true, true, Schedule<18>},
  };
  return kNames;
}

const ListingName* FindListing(const std::string& name) {
  for (const ListingName& n : ListingNames())
    if (name == n.name) return &n;
  return nullptr;
}

}  // namespace vantu::cli
