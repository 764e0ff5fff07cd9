#pragma once
// A scripted host with a clock of its own, for the pace of long runs: the
// clock stands still until a test moves it, or moves `autoStep` at every
// reading. It counts the turns the core gives it (ProcessEvents) and may act
// on each, as a user typing during a run.

#include <chrono>
#include <functional>

#include "platform/headless/headless_host.h"

namespace vantu::test {

class ClockedHost : public HeadlessHost {
 public:
  using Clock = std::chrono::steady_clock;

  std::chrono::microseconds autoStep{0};
  int turns = 0;
  std::function<void()> onTurn;

  void Advance(std::chrono::microseconds d) { now_ += d; }
  Clock::time_point Now() override {
    now_ += autoStep;
    return now_;
  }
  void ProcessEvents() override {
    ++turns;
    if (onTurn) onTurn();
    HeadlessHost::ProcessEvents();
  }

 private:
  Clock::time_point now_{std::chrono::hours(1)};
};

}  // namespace vantu::test
