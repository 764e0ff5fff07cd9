#pragma once
// The walk of a listing file as the printer reads it, line by line (CR LF):
// bytes 32 to 128, 209 and 241 are text, gathered in runs, and so is any
// byte after the letter mark (a letter of the data, whatever its byte);
// other bytes from 129 up take one cell each as frame and shade pieces; FF
// starts a page, SI selects 7 points, DC2 9 points, ESC G and ESC H bold on
// and off; other control bytes are ignored. The sink is told of each; it
// keeps the pen position itself.

#include <string>
#include <string_view>

#include "reports/listing_engine.h"

namespace vantu {

inline bool IsListingTextByte(unsigned char b) {
  return (b >= 32 && b <= 128) || b == 209 || b == 241;
}

// The run of text that starts at k, its marks taken out; k ends past it.
inline std::string ListingTextRun(std::string_view line, size_t& k) {
  std::string run;
  while (k < line.size()) {
    const auto b = static_cast<unsigned char>(line[k]);
    if (b == static_cast<unsigned char>(kLetterMark) && k + 1 < line.size() &&
        static_cast<unsigned char>(line[k + 1]) >= 32) {
      run += line[k + 1];
      k += 2;
    } else if (IsListingTextByte(b)) {
      run += line[k++];
    } else {
      break;
    }
  }
  return run;
}

template <class Sink>
void WalkListing(std::string_view all, Sink& sink) {
  size_t i = 0;
  while (i < all.size()) {
    const size_t end = all.find("\r\n", i);
    const std::string_view line = all.substr(i, end == std::string_view::npos ? end : end - i);
    i = end == std::string_view::npos ? all.size() : end + 2;
    int column = 0;
    size_t k = 0;
    while (k < line.size()) {
      const std::string run = ListingTextRun(line, k);
      if (!run.empty()) {
        sink.Text(run, column);
        column += static_cast<int>(run.size());
        continue;
      }
      const auto b = static_cast<unsigned char>(line[k++]);
      if (b >= 32) {
        sink.Box(b, column++);
      } else if (b == 12) {
        sink.NewPage();
      } else if (b == 15) {
        sink.SetSize(7);
      } else if (b == 18) {
        sink.SetSize(9);
      } else if (b == 27 && k < line.size()) {
        sink.SetBold(line[k++] == 'G');
      }
    }
    sink.EndLine();
  }
}

}  // namespace vantu
