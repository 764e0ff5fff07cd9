#pragma once
// The key reader every module uses instead of ReadKey. Besides reading the
// queue it runs the error review: Ctrl+RePag / Ctrl+AvPag start a replay of
// keys that leads the modules to the previous / next error, Ctrl+Fin ends
// the review (and reaches the module as 0).

#include <cstdint>

namespace vantu {

// Delivered after a replayed code and Intro: the module shows the record.
constexpr uint8_t kReplayDone = 128;

uint8_t GetKey();

// True for 173, 174 and 178 while the review runs: prompts let them through
// so that the review can move.
bool IsReviewKey(uint8_t code);

}  // namespace vantu
