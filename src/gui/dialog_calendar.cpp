#include "gui/dialog_calendar.h"

#include <QCalendarWidget>
#include <QDate>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/dialog_spin.h"
#include "gui/dialog_text.h"
#include "toolkit/dates.h"

namespace vantu {

namespace {

constexpr int kFirstYear = 1990;
constexpr int kLastYear = 2090;

// The host's date, as the rest of the program sees it.
Date Today() {
  if (auto today = ParseCalendarDate(TodayLong())) return *today;
  const QDate d = QDate::currentDate();
  return {d.day(), d.month(), d.year()};
}

QDate ToQDate(const Date& d) {
  return QDate(d.year, d.month, d.day);
}

}  // namespace

TCalendForm::TCalendForm(const std::string& date, QWidget* parent)
    : QDialog(parent), input_(date), current_(ParseCalendarDate(date).value_or(Today())) {
  setWindowTitle("Calendario");
  BuildLayout();
  ShowDate(current_);
  connect(month_, &QSpinBox::valueChanged, this, [this](int m) { OnMonth(m); });
  connect(year_, &QSpinBox::valueChanged, this, [this](int y) { OnYear(y); });
  connect(grid_, &QCalendarWidget::selectionChanged, this, [this] { OnGrid(); });
  connect(grid_, &QCalendarWidget::activated, this, &QDialog::accept);
}

void TCalendForm::BuildLayout() {
  month_ = new ReadOnlySpinBox(1, 12, this, [](int m) { return CoreToQt(MonthName(m)); });
  year_ = new ReadOnlySpinBox(kFirstYear, kLastYear, this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  grid_ = new QCalendarWidget(this);
  grid_->setFirstDayOfWeek(Qt::Sunday);
  grid_->setNavigationBarVisible(false);
  grid_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  grid_->setDateRange(QDate(kFirstYear, 1, 1), QDate(kLastYear, 12, 31));

  auto* top = new QHBoxLayout;
  top->addWidget(month_, 2);
  top->addWidget(year_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(label_);
  layout->addWidget(grid_);
  layout->addWidget(buttons);
}

// Shows date in every control without echoing the changes back.
void TCalendForm::ShowDate(const Date& date) {
  current_ = date;
  const QSignalBlocker blockMonth(month_), blockYear(year_), blockGrid(grid_);
  month_->setValue(date.month);
  year_->setValue(date.year);
  grid_->setSelectedDate(ToQDate(date));
  grid_->setCurrentPage(date.year, date.month);
  label_->setText(QString::fromStdString(FormatCalendarDate(date)));
}

void TCalendForm::OnMonth(int month) {
  ShowDate(ChangeMonth(current_, month));
}

void TCalendForm::OnYear(int year) {
  ShowDate(ChangeYear(current_, year));
}

void TCalendForm::OnGrid() {
  const QDate d = grid_->selectedDate();
  ShowDate({d.day(), d.month(), d.year()});
}

std::string TCalendForm::Result() const {
  if (result() == QDialog::Accepted) return FormatCalendarDate(current_);
  return input_.empty() ? FormatCalendarDate(Today()) : input_;
}

std::string PickDate(QWidget* parent, const std::string& date) {
  TCalendForm form(date, parent);
  form.exec();
  return form.Result();
}

}  // namespace vantu
