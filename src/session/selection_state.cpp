#include "session/selection_state.h"

namespace vantu {

namespace {
SelectionState gSelection;
}

SelectionState& Selection() {
  return gSelection;
}
void ResetSelection() {
  gSelection = SelectionState{};
}

}  // namespace vantu
