#include "toolkit/key_reader.h"

#include "console/keys.h"
#include "session/shell_state.h"
#include "toolkit/error_review.h"
#include "toolkit/work_area_link.h"

namespace vantu {

namespace {

// A replayed code: Esc until the main menu, there the next error's keys,
// one per call, and 128 in place of the final "$".
uint8_t NextReplayKey() {
  ReviewState& rv = Review();
  if (rv.replayKeys.empty()) {
    if (!Shell().atMainMenu) return kKeyEsc;
    MoveToError(rv.reviewKey);
  }
  if (rv.replayKeys.size() < 2) {
    if (!(rv.current.severity == kSevContent && rv.current.targetKind == 1)) ShowReviewLine(true);
    rv.replayActive = false;
    rv.replayKeys.clear();
    return kReplayDone;
  }
  MarkAreaReplayKey(rv.reviewTargetKind);
  auto code = static_cast<uint8_t>(rv.replayKeys.front());
  rv.replayKeys.erase(0, 1);
  return code;
}

}  // namespace

bool IsReviewKey(uint8_t code) {
  return Review().active && (code == kKeyCtrlPgUp || code == kKeyCtrlPgDn || code == kKeyCtrlEnd);
}

uint8_t GetKey() {
  ReviewState& rv = Review();
  if (rv.replayActive && !Shell().messageShown) return NextReplayKey();
  uint8_t code = ReadKey();
  if (code == 0) code = ReadKey();
  if (!rv.active && Shell().messageShown) {
    rv.replayKeys.clear();
    return code;
  }
  if ((code != kKeyCtrlPgUp && code != kKeyCtrlPgDn && code != kKeyCtrlEnd) || rv.errorCount == 0)
    return code;
  if (code == kKeyCtrlEnd) {
    EndErrorReview();
    return 0;
  }
  rv.replayActive = true;
  rv.reviewKey = code;
  return code;
}

}  // namespace vantu
