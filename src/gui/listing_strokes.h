#pragma once
// Box strokes gathered before drawing, single and double apart. A
// horizontal stroke that continues the last one of its kind lengthens it,
// so a rule of many cells is one line.

#include <QLine>
#include <vector>

#include "gui/box_character.h"

namespace vantu {

class StrokeBatch {
 public:
  void Add(const BoxStroke& s) {
    std::vector<QLine>& lines = lines_[s.doubled];
    int& last = lastHorizontal_[s.doubled];
    if (s.y1 == s.y2) {
      if (last >= 0 && lines[last].y1() == s.y1 && lines[last].x2() == s.x1) {
        lines[last].setP2(QPoint(s.x2, s.y2));
        return;
      }
      last = static_cast<int>(lines.size());
    }
    lines.emplace_back(s.x1, s.y1, s.x2, s.y2);
  }
  const std::vector<QLine>& Lines(bool doubled) const { return lines_[doubled]; }
  void Clear() {
    for (int k = 0; k < 2; ++k) {
      lines_[k].clear();
      lastHorizontal_[k] = -1;
    }
  }

 private:
  std::vector<QLine> lines_[2];
  int lastHorizontal_[2] = {-1, -1};
};

}  // namespace vantu
