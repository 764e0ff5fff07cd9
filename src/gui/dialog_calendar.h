#pragma once
// TCalendForm: picks a date on a month grid.

#include <QDialog>
#include <string>

#include "gui/dialog_calendar_date.h"

class QCalendarWidget;
class QLabel;

namespace vantu {

class ReadOnlySpinBox;

// date: "dd/mm/yyyy" or empty (today). OK returns the chosen date as
// "dd/mm/yyyy"; Cancel returns the input, or today when it was empty.
std::string PickDate(QWidget* parent, const std::string& date);

class TCalendForm : public QDialog {
 public:
  // date: "dd/mm/yyyy"; an empty or invalid text starts on today.
  TCalendForm(const std::string& date, QWidget* parent = nullptr);

  Date Current() const { return current_; }
  // What the dialog returns: the chosen date after OK, else the input.
  std::string Result() const;

  ReadOnlySpinBox* MonthSpin() const { return month_; }
  ReadOnlySpinBox* YearSpin() const { return year_; }
  QCalendarWidget* Grid() const { return grid_; }
  QLabel* DateLabel() const { return label_; }

 private:
  void BuildLayout();
  void ShowDate(const Date& date);
  void OnMonth(int month);
  void OnYear(int year);
  void OnGrid();

  std::string input_;
  Date current_;
  ReadOnlySpinBox* month_ = nullptr;
  ReadOnlySpinBox* year_ = nullptr;
  QCalendarWidget* grid_ = nullptr;
  QLabel* label_ = nullptr;
};

}  // namespace vantu
