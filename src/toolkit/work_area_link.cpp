#include "toolkit/work_area_link.h"

namespace vantu {

namespace {
WorkAreaLink gLink;
}  // namespace

WorkAreaLink& WorkAreaLinks() {
  return gLink;
}

std::string AreaTitle(int area) {
  return gLink.title ? gLink.title(area) : std::string();
}
ButtonSet AreaButtons(int area) {
  return gLink.buttons ? gLink.buttons(area) : 0;
}
std::string AreaCurrentKey(int area) {
  return gLink.currentKey ? gLink.currentKey(area) : std::string();
}
void MarkAreaReplayKey(int area) {
  if (gLink.markReplayKey) gLink.markReplayKey(area);
}

}  // namespace vantu
