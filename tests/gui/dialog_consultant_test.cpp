#include "gui/dialog_consultant.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/settings_store.h"
#include "platform/halt.h"
#include "session/shell_state.h"

namespace vantu {
namespace {

class ConsultantTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetShell();
    qputenv("VANTU_HOME", dir.path().toUtf8());
  }
  void TearDown() override { qunsetenv("VANTU_HOME"); }
  // Runs action on the dialog once its event loop is running.
  static void WhenShown(std::function<void(TConsultor*)> action) {
    QTimer::singleShot(0, [action] {
      if (auto* d = dynamic_cast<TConsultor*>(QApplication::activeModalWidget())) action(d);
    });
  }

  QTemporaryDir dir;
};

TEST_F(ConsultantTest, BorrarThenRecuperarRestoresTheName) {
  WriteSettingFile("\\Presupuesto", "sConsultor",
                   "Ana Mar\xED"
                   "a");
  TConsultor dialog;
  EXPECT_EQ(dialog.NameEdit()->text(), QString::fromUtf8("Ana María"));
  dialog.RestoreButton()->click();  // nothing kept yet
  EXPECT_EQ(dialog.NameEdit()->text(), QString::fromUtf8("Ana María"));
  dialog.ClearButton()->click();
  EXPECT_TRUE(dialog.NameEdit()->text().isEmpty());
  dialog.RestoreButton()->click();
  EXPECT_EQ(dialog.NameEdit()->text(), QString::fromUtf8("Ana María"));
}

TEST_F(ConsultantTest, AceptarKeepsTheNameInMemoryAndSettings) {
  WhenShown([](TConsultor* d) {
    d->NameEdit()->setText(QString(40, 'x'));  // the edit holds 35
    d->AcceptButton()->click();
  });
  AskConsultant(nullptr);
  EXPECT_EQ(Shell().consultantName, std::string(35, 'x'));
  EXPECT_EQ(ReadSettingFile("\\Presupuesto", "sConsultor"), std::string(35, 'x'));
}

TEST_F(ConsultantTest, ClosingWithoutAceptarEndsTheProgram) {
  WhenShown([](TConsultor* d) {
    d->NameEdit()->setText("Pedro");
    d->reject();
  });
  EXPECT_THROW(AskConsultant(nullptr), Halt);
  EXPECT_TRUE(ReadSettingFile("\\Presupuesto", "sConsultor").empty());
}

}  // namespace
}  // namespace vantu
