#pragma once
// One-key questions.

#include <cstdint>
#include <string>

namespace vantu {

// Shows prompt + " " + the default centred on `row` and reads keys (upper
// cased; Intro gives the default when there is one) until one is in `keys`,
// beeping at the others, and echoes it. While the error review runs,
// 173, 174 and 178 are returned as they come so that the review can move.
uint8_t AskKey(int row, const std::string& prompt, const std::string& keys, uint8_t def);
// The same on a cleared line; row 25 is saved first.
uint8_t AskKeyOnLine(int row, const std::string& prompt, const std::string& keys, uint8_t def);
// Reads keys until one is in `keys` (or is a review key while the review
// runs), beeping at the others.
uint8_t WaitKeyIn(const std::string& keys);

}  // namespace vantu
