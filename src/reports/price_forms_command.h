#pragma once
// Commands L and M: the price-update forms, all those ticked in the
// preferences into one listing file (total), or one at a time from a menu
// (partial, also to the viewer).

namespace vantu {

void TotalPriceForms();    // L
void PartialPriceForms();  // M

}  // namespace vantu
