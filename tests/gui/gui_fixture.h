#pragma once
// A main window on the Qt host with fresh core state, and helpers to read
// the key queue and answer message boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <memory>
#include <vector>

#include "console/console.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "console/zones.h"
#include "gui/console_widget.h"
#include "gui/main_window.h"
#include "gui/qt_host.h"
#include "gui/win_console.h"
#include "platform/platform.h"
#include "session/shell_state.h"

namespace vantu::gui::test {

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetScreen();
    ResetInput();
    ResetZones();
    ResetButtons();
    ResetShell();
    SetHost(&host);
    window = std::make_unique<TForm1>(&host);
    host.Attach(window.get());
    window->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    host.Attach(nullptr);
    window.reset();
    SetHost(nullptr);
  }

  // Every code waiting in the key queue, taken out.
  static std::vector<int> DrainKeys() {
    std::vector<int> codes;
    uint8_t c = 0;
    while (PopKey(c)) codes.push_back(c);
    return codes;
  }

  // The next message box gets the button whose text is `button`; its text
  // and title are kept in `seen`.
  struct SeenBox {
    QString text, title;
    bool shown = false;
  };
  static void AnswerNextBox(const QString& button, SeenBox* seen) {
    QTimer::singleShot(0, [button, seen] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen->shown = true;
      seen->text = box->text();
      seen->title = box->windowTitle();
      for (QAbstractButton* b : box->buttons())
        if (QString(b->text()).remove(QLatin1Char('&')) == button) b->click();
    });
  }

  QtHost host;
  std::unique_ptr<TForm1> window;
};

}  // namespace vantu::gui::test
