#pragma once
// The menu of the partial listings of K, M and P: a window with a heading
// and numbered options, answered with the option's digit or Esc.

namespace vantu {

// Shows the heading and the first `count` options (at most 9); the option
// chosen, 1..count, or 0 for Esc.
int ChooseListingOption(const char* heading, const char* const* options, int count);

}  // namespace vantu
