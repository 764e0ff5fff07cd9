#pragma once
// Command S, "Actualizar precios...": a price bank (.bc3) chosen in the
// open dialog updates the open Rama's prices (see price_update.h); what
// changed, and where the report is, is shown.

namespace vantu {

void RunPriceUpdate();

}  // namespace vantu
