#pragma once
// What a module's screen keeps per work area beside the files: the title,
// the key buttons, the two parameters of the browsing windows and the code
// lists' browsing state. The files themselves are in storage's `Area(n)`.

#include <array>
#include <cstdint>
#include <string>

#include "session/work_area_ids.h"
#include "toolkit/screen.h"

namespace vantu {

// State the code lists keep per area while browsing.
struct BrowseState {
  int16_t replayKeyFlag = 0;  // 1: a replayed code of the error review arrives
  int16_t scroll = 0;
  int16_t firstShown = 0;
  int16_t lastShown = 0;
  int16_t selected = 0;
};

struct AreaView {
  std::string Title;
  int moduleParam1 = 0, moduleParam2 = 0;
  ButtonSet buttons = 0;
  BrowseState browse;
};

// The view of area n (0..10), as set up from its constant descriptor.
AreaView& View(int n);
void ResetAreaViews();

// Row 1: "n Codigos En Uso" of an indexed area or "n Registros En Uso" of a
// plain one; records in the storage side whether the area is empty.
void ShowUsage(int n);

}  // namespace vantu
