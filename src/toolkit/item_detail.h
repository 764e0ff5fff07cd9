#pragma once
// The detail window of a list row (Insert): price of a basic input or a
// global, the lines and costs of an analysis, the components of a
// subcontract, quantity and amount of a budget item.

#include <string>
#include <vector>

#include "toolkit/code_list_source.h"

namespace vantu {

// The lines the detail window shows for `detail`.
std::vector<std::string> ItemDetailLines(const ItemDetail& detail, bool aiuPerItem);
// Reads the record of `code` from the list source and shows its detail
// until Esc; a chapter only gets "Los capitulos no tienen detalle".
void ShowItemDetail(int kind, const std::string& code);

}  // namespace vantu
