#pragma once
// TForm1: the main window. It holds the console panel and the menu bar;
// every menu entry only pushes key codes for the main loop. It also toggles
// the full and reduced layouts and runs the quit question.

#include <QMainWindow>
#include <functional>
#include <map>

namespace vantu::gui {

class QtHost;
class TConsole;
class TWinConsole;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // `desktop` empty: the primary screen's size.
  explicit TForm1(QtHost* host, QSize desktop = {});
  ~TForm1() override;

  TConsole* Console() const { return console_; }
  TWinConsole* Panel() const { return panel_; }

  void DisableMenus();
  void EnableMenus();
  void UpdateMenusForSelection(bool obraSelected);
  void UpdateListingMenus();

  // Full layout (2) at the base font size, or reduced (0) at its scale.
  void ApplyLayout(int layoutState);
  // First show: full layout, maximized, with the program's caption.
  void ShowStartup();
  // A second start of the program asked this window to come forward.
  void BringToFront();

  // The entry `entry` of menu `menu` ("" for a top-level entry).
  QAction* MenuEntry(const QString& menu, const QString& entry) const;
  QMenu* TopMenu(const QString& caption) const;

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void BuildMenus();
  // "Abrir" and the menus Editar, Calcular, Cronograma, Ver, Imprimir, Otros.
  void SetMenusOn(bool on);
  QAction* Add(QMenu* menu, const QString& caption, std::function<void()> action);
  void Quit();
  void ViewEntry(char letter);
  void PrintEntry(char letter);
  void OpenManual();
  // Font size, outer size (client and menu bar) and place of a layout.
  int LayoutPoints(int layoutState) const;
  QSize OuterSize(int layoutState) const;
  QRect LayoutRect(int layoutState) const;
  // The grid in the middle of the client area when the window is larger.
  void CentrePanel();

  QtHost* host_;
  QSize desktop_;
  TWinConsole* panel_ = nullptr;
  TConsole* console_ = nullptr;
  QObject* keyFilter_ = nullptr;
  std::map<QString, QMenu*> menus_;
  // Entries the selection and the preferences change.
  QAction* abrir_ = nullptr;
  QAction* presupuestoObra_ = nullptr;
  QAction* calcular_ = nullptr;
  QAction* cronograma_ = nullptr;
  QAction* budgetTotal_ = nullptr;
  QAction* budgetParts_ = nullptr;
  QAction* formsTotal_ = nullptr;
  QAction* separatorN2_ = nullptr;
  QAction* scheduleTotal_ = nullptr;
  QAction* scheduleParts_ = nullptr;
  QAction* viewSchedule_ = nullptr;
  bool togglingLayout_ = false;
};

}  // namespace vantu::gui
