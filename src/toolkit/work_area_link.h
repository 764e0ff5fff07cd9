#pragma once
// What the toolkit reads and sets in the work-area table (areas 0..10).
// The toolkit is built before the table: the file-set code fills these
// hooks when it sets the table up. An empty hook gives an empty title, no
// buttons and an empty key, and sets nothing.

#include <functional>
#include <string>

#include "toolkit/screen.h"

namespace vantu {

struct WorkAreaLink {
  // Title of the area's descriptor, with its blanks (StartModuleScreen).
  std::function<std::string(int area)> title;
  // Standard button set of the area's descriptor (StartModuleScreen).
  std::function<ButtonSet(int area)> buttons;
  // The area's CurrentKey (ClearMessage compares it with the current error).
  std::function<std::string(int area)> currentKey;
  // Sets to 1 the 16-bit flag of the area's browsing state that tells the
  // code lists a replayed key of the error review is arriving.
  std::function<void(int area)> markReplayKey;
};

WorkAreaLink& WorkAreaLinks();

std::string AreaTitle(int area);
ButtonSet AreaButtons(int area);
std::string AreaCurrentKey(int area);
void MarkAreaReplayKey(int area);

}  // namespace vantu
