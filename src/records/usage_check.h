#pragma once
// Who uses a record that is about to be deleted, and the warning file
// ("ApTemError") that the error review can then walk.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/error_file.h"

namespace vantu {

inline constexpr const char* kTempErrorFile = "ApTemError";

// Calls `visit` with every key of an indexed area in key order and its
// record number; stops when `visit` returns false.
void ForEachKey(int area, const std::function<bool(const std::string&, int16_t)>& visit);
// The record numbers ForEachKey would visit, in its order, read at once.
std::vector<int16_t> KeyOrder(int area);

// The warnings (TargetKind 8 for analyses, 9 for budget items) about the
// users of `code` of area 2, 3 or 4.
std::vector<ErrorEntry> UsageWarnings(int area, const std::string& code);

// Renames "ApTemError" to the error file and starts the error review on
// its `count` records; a failed rename is reported ("Error del programa")
// and gives false.
bool StartWarningsReview(int16_t count, bool withSystemText);

}  // namespace vantu
