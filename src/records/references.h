#pragma once
// Following a reference from one record to another (an analysis line to a
// basic input or an analysis, a budget item to an analysis or a
// subcontract): the record number first, then the code.

#include <cstdint>
#include <optional>
#include <string>

namespace vantu {

// The record number a reference of coded area `area` leads to, with the
// record read into `buffer` (the area's record length). The record at
// `recNo` is taken when it is in use and its code or its stamp agrees with
// the reference; otherwise the code is looked up in the index. Nothing when
// neither finds a record.
std::optional<int16_t> ResolveReference(int area, int16_t recNo, long double stamp,
                                        const std::string& code, uint8_t* buffer);

}  // namespace vantu
