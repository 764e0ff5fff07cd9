#pragma once
// TCalendForm: picks a date on a month grid.

#include <string>

class QWidget;

namespace vantu {

// date: "dd/mm/yyyy" or empty (today). OK returns the chosen date as
// "dd/mm/yyyy"; Cancel returns the input, or today when it was empty.
std::string PickDate(QWidget* parent, const std::string& date);

}  // namespace vantu
