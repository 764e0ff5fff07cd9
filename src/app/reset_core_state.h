#pragma once

namespace vantu {

// Puts every subsystem's state and every hook table back to its state at
// program start, and detaches the host. Tests call it before and after
// each case, so that no case sees another's leftovers.
void ResetCoreState();

}  // namespace vantu
