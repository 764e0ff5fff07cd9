#include "gui/dialog_consultant.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "console/console.h"
#include "gui/dialog_text.h"
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

TEST(ConsoleText, AccentedLettersBecomePlainAndOthersAreLeftOut) {
  const struct {
    const char* typed;  // UTF-8
    const char* shown;
  } cases[] = {
      {"N\u00fa\u00f1ez", "Nu\u00f1ez"},
      {"\u00c1\u00c9\u00cd\u00d3\u00da\u00dc", "AEIOUU"},
      {"\u00e0\u00e8\u00ec\u00f2\u00f9\u00e7", "aeiouc"},
      {"\u00d1and\u00fa", "\u00d1andu"},
      {"\u20acuro\tx", "urox"},
      {"Plain 123-(x)", "Plain 123-(x)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(ConsoleDisplayable(QString::fromUtf8(c.typed)), QString::fromUtf8(c.shown));
  }
}

TEST_F(ConsultantTest, TypedAccentsAreStoredAsLettersTheConsoleShows) {
  WhenShown([](TConsultor* d) {
    d->NameEdit()->clear();
    // Typed one key at a time, as a keyboard with accents sends them.
    for (const QChar ch : QString::fromUtf8("Juan N\u00fa\u00f1ez")) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
      QApplication::sendEvent(d->NameEdit(), &press);
    }
    EXPECT_EQ(d->NameEdit()->text(), QString::fromUtf8("Juan Nu\u00f1ez"));
    d->AcceptButton()->click();
  });
  AskConsultant(nullptr);
  EXPECT_EQ(Shell().consultantName,
            "Juan Nu\xF1"
            "ez");
  for (const char c : Shell().consultantName)
    EXPECT_TRUE(IsTextChar(static_cast<uint8_t>(c))) << "byte " << int(static_cast<uint8_t>(c));
}

}  // namespace
}  // namespace vantu
