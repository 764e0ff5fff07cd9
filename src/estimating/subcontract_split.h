#pragma once
// A subcontract's direct cost split over the four groups by percentages,
// and the percentages a stored split shows.

#include <array>

namespace vantu {

using GroupAmounts = std::array<long double, 4>;  // Equipos .. Mano de Obra

// The percentages can be taken: all of them and the direct cost are zero,
// or they add up to 100 within 0.01.
bool PercentagesBalanced(const GroupAmounts& percentages, long double directCost);

// Each value is the percentage of the direct cost rounded half up to cents;
// the first of the largest values takes the rounding difference so that the
// four add up to the direct cost exactly.
GroupAmounts SplitDirectCost(const GroupAmounts& percentages, long double directCost);

// Each value's share of the four values' total in percent, to 2 decimals,
// the first of the largest shares taking the rounding difference so that
// they add up to 100 exactly; zeros when the total is not positive.
GroupAmounts SharesOf(const GroupAmounts& values);

}  // namespace vantu
