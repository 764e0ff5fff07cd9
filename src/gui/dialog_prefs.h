#pragma once
// TPrefForm: the preferences dialog of command B.

#include <QDialog>
#include <array>

#include "session/preferences.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace vantu {

class ReadOnlySpinBox;

// Shows the dialog modally over the current preferences. "Aceptar" applies,
// saves and returns true; "Cancelar" and "X" return false and change nothing.
bool EditPreferences(QWidget* parent);

class TPrefForm : public QDialog {
 public:
  explicit TPrefForm(QWidget* parent = nullptr);

  void SetControls(const Preferences& prefs);
  Preferences Controls() const;

  QTabWidget* Tabs() const { return tabs_; }
  QPushButton* AcceptButton() const { return accept_; }

 private:
  struct Choice {  // a radio group of two
    QRadioButton* first = nullptr;
    QRadioButton* second = nullptr;
  };
  struct MarginSpins {
    ReadOnlySpinBox* top = nullptr;
    ReadOnlySpinBox* bottom = nullptr;
    ReadOnlySpinBox* left = nullptr;
  };

  QWidget* BuildGeneral();
  QWidget* BuildListings();
  QWidget* BuildMargins();
  QGroupBox* MakeChoice(const QString& title, const QString& first, const QString& second,
                        Choice& choice);
  template <size_t N>
  QGroupBox* MakeChecks(const QString& title, const std::array<const char*, N>& labels,
                        std::array<QCheckBox*, N>& boxes);
  QGroupBox* MakeMargins(const QString& title, MarginSpins& spins);
  void OnAccept();

  QTabWidget* tabs_ = nullptr;
  QPushButton* accept_ = nullptr;
  QCheckBox* beepOff_ = nullptr;
  QCheckBox* descriptionForPliegos_ = nullptr;
  QCheckBox* listUndefined_ = nullptr;
  QCheckBox* roundToPeso_ = nullptr;
  Choice units_, printer_, analysisPages_;
  std::array<QCheckBox*, cfg::kBudgetPartCount> budgetParts_{};
  std::array<QCheckBox*, cfg::kFormPartCount> formParts_{};
  std::array<QCheckBox*, cfg::kSchedulePartCount> scheduleParts_{};
  MarginSpins marginsBudget_, marginsShort_, marginsLong_;
};

}  // namespace vantu
