#include "records/obra_identity.h"

#include "session/selection_state.h"

namespace vantu {

void TakeObraIdentity(const ObraHeader& h) {
  SelectionState& s = Selection();
  s.ObraName = Get(h, obra_header::ObraName);
  s.ObraReference = Get(h, obra_header::ObraReference);
  s.BudgetDate = Get(h, obra_header::BudgetDate);
  s.AnticipoPct = Get(h, obra_header::AnticipoPct);
  s.RetencionPct = Get(h, obra_header::RetencionPct);
}

}  // namespace vantu
