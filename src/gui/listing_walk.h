#pragma once
// The walk of a listing file as the printer reads it, line by line (CR LF):
// bytes 32 to 128, 209 and 241 are text, gathered in runs; other bytes from
// 129 up take one cell each; FF starts a page, SI selects 7 points, DC2 9
// points, ESC G and ESC H bold on and off; other control bytes are ignored.
// The sink is told of each; it keeps the pen position itself.

#include <string_view>

namespace vantu {

inline bool IsListingTextByte(unsigned char b) {
  return (b >= 32 && b <= 128) || b == 209 || b == 241;
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
      size_t runEnd = k;
      while (runEnd < line.size() && IsListingTextByte(static_cast<unsigned char>(line[runEnd])))
        ++runEnd;
      if (runEnd > k) {
        sink.Text(line.substr(k, runEnd - k), column);
        column += static_cast<int>(runEnd - k);
        k = runEnd;
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
