#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "app/menu_commands.h"
#include "gui/gui_fixture.h"
#include "platform/halt.h"

namespace vantu::gui::test {
namespace {

constexpr int E = 27;

class MainWindowTest : public GuiTest {
 protected:
  QAction* Entry(const char* menu, const char* entry) {
    QAction* a = window->MenuEntry(QString::fromLatin1(menu), QString::fromLatin1(entry));
    EXPECT_NE(a, nullptr) << menu << " / " << entry;
    return a;
  }
};

TEST_F(MainWindowTest, MenuEntriesPushEscCodesThenTheLetter) {
  struct Case {
    const char* name;
    const char* menu;
    const char* entry;
    bool atMainMenu;
    uint8_t current;
    int escDepth;
    bool editEsc, message, windowEsc, scheduleMenu;
    std::vector<int> codes;
  } cases[] = {
      {"at the main menu only the letter", "Archivos", "Abrir", true, 0, 0, 0, 0, 0, 0, {'A'}},
      {"the price update is its letter", "Archivos", "Actualizar precios...", true, 0, 0, 0, 0, 0,
       0, {'S'}},
      {"Basicos while it is open does nothing", "Editar", "Basicos", false, 'E', 0, 0, 0, 0, 0, {}},
      {"Unitarios closes basic inputs", "Editar", "Unitarios", false, 'E', 0, 0, 0, 0, 0, {E, 'F'}},
      {"nested levels and pending inputs",
       "Editar",
       "Unitarios",
       false,
       'E',
       2,
       1,
       1,
       0,
       0,
       {E, E, E, E, E, 'F'}},
      {"an inner window counts once with a message",
       "Otros",
       "Preferencias",
       false,
       'D',
       0,
       0,
       1,
       1,
       0,
       {E, E, 'B'}},
      {"Calcular again is pushed", "", "Calcular", false, 'I', 0, 0, 0, 0, 0, {E, 'I'}},
      {"Cronograma while the schedule is open", "", "Cronograma", false, 'N', 1, 0, 0, 0, 0, {}},
      {"Cronograma from the schedule's own menu",
       "",
       "Cronograma",
       false,
       'N',
       1,
       0,
       0,
       0,
       1,
       {E, E, 'N'}},
      {"Imprimir Formularios (Parciales)",
       "Imprimir",
       "Formularios (Parciales)",
       true,
       0,
       0,
       0,
       0,
       0,
       0,
       {'M'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ShellState& sh = Shell();
    sh.atMainMenu = c.atMainMenu;
    sh.currentCommand = c.current;
    sh.escDepth = static_cast<uint8_t>(c.escDepth);
    sh.editEscPending = c.editEsc;
    sh.messageShown = c.message;
    sh.windowEscPending = c.windowEsc;
    sh.scheduleMenuOpen = c.scheduleMenu;
    Input().mouseCol = 7;
    Input().mouseButton = 1;
    Entry(c.menu, c.entry)->trigger();
    EXPECT_EQ(DrainKeys(), c.codes);
    EXPECT_EQ(Input().mouseCol, 0);
    EXPECT_EQ(Input().mouseButton, c.codes.empty() ? 1 : -1);
  }
}

TEST_F(MainWindowTest, VerNeedsTheFontAndSetsViewMode) {
  Shell().atMainMenu = true;
  Shell().fontInstalled = false;
  SeenBox seen;
  AnswerNextBox(QStringLiteral("Aceptar"), &seen);
  Entry("Ver", "Presupuesto")->trigger();
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.title, QStringLiteral("Error de Instalacion"));
  EXPECT_TRUE(seen.text.startsWith(QStringLiteral("Falta el archivo Vantu.TTF\n")));
  EXPECT_TRUE(DrainKeys().empty());

  Shell().fontInstalled = true;
  Entry("Ver", "Formularios")->trigger();
  EXPECT_TRUE(Shell().viewMode);
  EXPECT_EQ(DrainKeys(), std::vector<int>{'M'});
  Entry("Imprimir", "Presupuesto (Parciales)")->trigger();
  EXPECT_FALSE(Shell().viewMode);
  EXPECT_EQ(DrainKeys(), std::vector<int>{'K'});
}

TEST_F(MainWindowTest, ImprimirCaptionsWithOnlyARamaOpen) {
  window->UpdateMenusForSelection(false);
  QMenu* imprimir = window->TopMenu(QStringLiteral("Imprimir"));
  QStringList visible;
  for (QAction* a : imprimir->actions())
    if (a->isVisible() && !a->isSeparator()) visible << a->text();
  EXPECT_EQ(visible, (QStringList{"Listados (Total)", "Listados (Parciales)", "Formularios (Total)",
                                  "Formularios (Parciales)"}));
  EXPECT_FALSE(Entry("Editar", "Presupuesto de Obra")->isVisible());
  EXPECT_FALSE(Entry("", "Cronograma")->isVisible());
  EXPECT_FALSE(Entry("Ver", "Programacion")->isVisible());

  window->UpdateMenusForSelection(true);
  visible.clear();
  for (QAction* a : imprimir->actions())
    if (a->isVisible() && !a->isSeparator()) visible << a->text();
  EXPECT_EQ(visible.front(), QStringLiteral("Presupuesto (Total)"));
  EXPECT_EQ(visible.size(), 6);
  EXPECT_TRUE(Entry("", "Cronograma")->isVisible());
}

TEST_F(MainWindowTest, DisabledMenusLeaveArchivosSalirAndAyuda) {
  window->DisableMenus();
  EXPECT_FALSE(Entry("Archivos", "Abrir")->isEnabled());
  EXPECT_TRUE(Entry("Archivos", "Salir")->isEnabled());
  EXPECT_FALSE(Entry("", "Calcular")->isEnabled());
  for (const char* m : {"Editar", "Ver", "Imprimir", "Otros"})
    EXPECT_FALSE(window->TopMenu(QString::fromLatin1(m))->menuAction()->isEnabled()) << m;
  EXPECT_TRUE(window->TopMenu(QStringLiteral("Ayuda"))->menuAction()->isEnabled());
  window->EnableMenus();
  EXPECT_TRUE(Entry("Archivos", "Abrir")->isEnabled());
  EXPECT_TRUE(window->TopMenu(QStringLiteral("Otros"))->menuAction()->isEnabled());
}

TEST_F(MainWindowTest, CloseBoxAsksThenPushesEscCodesAnd180OrStops) {
  struct Case {
    const char* name;
    const char* answer;
    bool haltAtClose;
    std::vector<int> codes;
    bool halts;
  } cases[] = {
      {"No keeps the window", "No", false, {}, false},
      {"Si pushes the way out", "S\xC3\xAD", false, {E, E, E, 180}, false},
      {"HaltAtClose stops at once", "S\xC3\xAD", true, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shell().atMainMenu = false;
    Shell().escDepth = 1;
    Shell().messageShown = true;
    Shell().haltAtClose = c.haltAtClose;
    SeenBox seen;
    AnswerNextBox(QString::fromUtf8(c.answer), &seen);
    window->close();
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, QStringLiteral("Desea abandonar ahora ?"));
    EXPECT_EQ(seen.title, QStringLiteral("Salir del Programa"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(DrainKeys(), c.codes);
    bool halted = false;
    try {
      host.ProcessEvents();
    } catch (const Halt&) {
      halted = true;
    }
    EXPECT_EQ(halted, c.halts);
  }
}

// A confirmation answers to the letters of its buttons, as typed.
TEST_F(MainWindowTest, ConfirmationsAnswerToTheirLetters) {
  struct Case {
    const char* name;
    Qt::Key key;
    BoxButtons buttons;
    BoxAnswer answer;
  } cases[] = {
      {"S is yes", Qt::Key_S, BoxButtons::YesNo, BoxAnswer::Yes},
      {"N is no", Qt::Key_N, BoxButtons::YesNo, BoxAnswer::No},
      {"C cancels", Qt::Key_C, BoxButtons::YesNoCancel, BoxAnswer::Cancel},
  };
  // A box the letter left open is closed after a while by the key that
  // gives another answer, so that the case fails instead of waiting.
  auto round = std::make_shared<int>(0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int mine = ++*round;
    QTimer::singleShot(0, [key = c.key] {
      if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, key);
    });
    const Qt::Key other = c.answer == BoxAnswer::Yes ? Qt::Key_Escape : Qt::Key_Return;
    QTimer::singleShot(1000, [round, mine, other] {
      QWidget* box = QApplication::activeModalWidget();
      if (*round == mine && box != nullptr) QTest::keyClick(box, other);
    });
    EXPECT_EQ(host.MessageBox("Confirma la Eliminacion ?", "", BoxIcon::Question, c.buttons),
              c.answer);
  }
}

TEST_F(MainWindowTest, BothLayoutsFitTheWindowAndTheWindowCanChangeBetweenThem) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("PRESUPUESTO DE OBRA"));
  ShowImage(55, 9, 15, "CONSTRUCT", 10);
  for (int layout : {0, 2, 0}) {
    SCOPED_TRACE(layout);
    window->ApplyLayout(layout);
    QApplication::processEvents();
    const QWidget* client = window->centralWidget();
    const QRect grid = window->Panel()->geometry();
    // The grid lies whole inside the client area, in its middle.
    EXPECT_TRUE(client->rect().contains(grid));
    EXPECT_LE(std::abs(grid.left() - (client->width() - grid.right() - 1)), 1);
    // Smallest and largest window differ, so maximize and restore are
    // offered; both layouts lie between them.
    EXPECT_LT(window->minimumSize().height(), window->maximumSize().height());
    EXPECT_LE(window->minimumSize().width(), window->width());
    EXPECT_GE(window->maximumSize().width(), window->width());
    // The picture follows its cells.
    const int w = window->Console()->CellWidth(), h = window->Console()->CellHeight();
    QLabel* picture = nullptr;
    for (QLabel* l : window->Console()->findChildren<QLabel*>())
      if (l->isVisibleTo(window->Console())) picture = l;
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(54 * w, 8 * h, 15 * w, 10 * h));
  }
}

// A window manager that maximizes to the whole screen: the full grid stands
// in the middle at the top, the reduced one in the middle.
TEST_F(MainWindowTest, AWindowLargerThanItsGridShowsTheGridCentred) {
  for (int layout : {2, 0}) {
    SCOPED_TRACE(layout);
    window->ApplyLayout(layout);
    window->resize(window->width() + 400, window->height() + 300);
    QApplication::processEvents();
    EXPECT_EQ(window->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QWidget* client = window->centralWidget();
    const QRect grid = window->Panel()->geometry();
    ASSERT_GE(client->width(), grid.width() + 300);
    EXPECT_LE(std::abs(grid.left() - (client->width() - grid.right() - 1)), 1);
    if (layout == 2)
      EXPECT_EQ(grid.top(), 0);
    else
      EXPECT_LE(std::abs(grid.top() - (client->height() - grid.bottom() - 1)), 1);
  }
}

}  // namespace
}  // namespace vantu::gui::test
