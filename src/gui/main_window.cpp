#include "gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/menu_commands.h"
#include "gui/console_widget.h"
#include "gui/dialog_about.h"
#include "gui/key_translate.h"
#include "gui/qt_host.h"
#include "gui/win_console.h"
#include "platform/platform.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "session/shell_state.h"

namespace vantu::gui {

namespace {

const char* const kFontMessage =
    "Falta el archivo Vantu.TTF\rDebe estar en el mismo Directorio del programa VANTU.exe\r\r"
    "No afecta las demas opciones del Menu.";
const char* const kManualMessage =
    "Falta el archivo Vantu.pdf\rDebe estar en el mismo Directorio del programa VANTU.exe\r\r"
    "No afecta las demas opciones del Menu.";
const char* const kReaderMessage =
    "Falta el programa AcrobatReader\rPuede descargarlo de Internet\r"
    "Es de distribuci\xF3n gratuita";
const char* const kInstallCaption = "Error de Instalacion";

void InstallError(const char* text) {
  Host().MessageBox(text, kInstallCaption, BoxIcon::Question, BoxButtons::Ok);
}

// F10 is marked handled before any window sees it; keys that would move the
// focus inside the main window go to the console instead.
class AppKeyFilter : public QObject {
 public:
  explicit AppKeyFilter(TForm1* window) : QObject(window), window_(window) {}

 protected:
  bool eventFilter(QObject* target, QEvent* e) override {
    const QEvent::Type t = e->type();
    if (t != QEvent::KeyPress && t != QEvent::KeyRelease && t != QEvent::ShortcutOverride)
      return false;
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_F10) return true;
    auto* w = qobject_cast<QWidget*>(target);
    if (t == QEvent::KeyPress && w != nullptr && w->window() == window_ &&
        w != window_->Console() && IsDialogKey(k->key())) {
      DeliverKey(*k);
      return true;
    }
    return false;
  }

 private:
  TForm1* window_;
};

}  // namespace

TForm1::TForm1(QtHost* host, QSize desktop) : host_(host), desktop_(desktop) {
  if (desktop_.isEmpty()) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    desktop_ = screen != nullptr ? screen->geometry().size() : QSize(800, 600);
  }
  setWindowTitle(QStringLiteral("PRESUPUESTO DE OBRA"));
  auto* central = new QWidget(this);
  central->resize(576, 406);
  setCentralWidget(central);
  panel_ = new TWinConsole(central);
  panel_->SetNCol(80);
  panel_->SetNRow(25);
  panel_->SetLineGap(0);
  panel_->SetNBtnRow(2);
  panel_->setToolTipDuration(-1);
  ConsoleGeometry g;
  g.gridColumns = panel_->NCol();
  g.gridRows = panel_->NRow() + panel_->ButtonAreaRows();
  g.fontName = panel_->font().family();
  console_ = new TConsole(panel_, g, desktop_);
  BuildMenus();
  keyFilter_ = new AppKeyFilter(this);
  qApp->installEventFilter(keyFilter_);
  ApplyLayout(2);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(keyFilter_);
}

QAction* TForm1::Add(QMenu* menu, const QString& caption, std::function<void()> action) {
  QAction* a = menu->addAction(caption);
  connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
  return a;
}

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto menu = [&](const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    menus_[caption] = m;
    return m;
  };
  auto push = [](char letter) { return [letter] { PushCommand(static_cast<uint8_t>(letter)); }; };

  QMenu* archivos = menu(QStringLiteral("Archivos"));
  abrir_ = Add(archivos, QStringLiteral("Abrir"), push('A'));
  Add(archivos, QStringLiteral("Exportar..."), push('Q'));
  Add(archivos, QStringLiteral("Importar..."), push('R'));
  Add(archivos, QStringLiteral("Actualizar precios..."), push('S'));
  Add(archivos, QStringLiteral("Salir"), [this] { Quit(); });

  QMenu* editar = menu(QStringLiteral("Editar"));
  Add(editar, QStringLiteral("Datos Generales"), push('D'));
  Add(editar, QStringLiteral("Basicos"), push('E'));
  Add(editar, QStringLiteral("Unitarios"), push('F'));
  Add(editar, QStringLiteral("Subcontratos"), push('G'));
  presupuestoObra_ = Add(editar, QStringLiteral("Presupuesto de Obra"), push('H'));

  calcular_ = bar->addAction(QStringLiteral("Calcular"));
  connect(calcular_, &QAction::triggered, this, push('I'));
  cronograma_ = bar->addAction(QStringLiteral("Cronograma"));
  connect(cronograma_, &QAction::triggered, this, push('N'));

  QMenu* ver = menu(QStringLiteral("Ver"));
  Add(ver, QStringLiteral("Presupuesto"), [this] { ViewEntry('K'); });
  Add(ver, QStringLiteral("Formularios"), [this] { ViewEntry('M'); });
  viewSchedule_ = Add(ver, QStringLiteral("Programacion"), [this] { ViewEntry('P'); });

  QMenu* imprimir = menu(QStringLiteral("Imprimir"));
  budgetTotal_ = Add(imprimir, QStringLiteral("Presupuesto (Total)"), [this] { PrintEntry('J'); });
  budgetParts_ =
      Add(imprimir, QStringLiteral("Presupuesto (Parciales)"), [this] { PrintEntry('K'); });
  imprimir->addSeparator();
  formsTotal_ = Add(imprimir, QStringLiteral("Formularios (Total)"), [this] { PrintEntry('L'); });
  Add(imprimir, QStringLiteral("Formularios (Parciales)"), [this] { PrintEntry('M'); });
  separatorN2_ = imprimir->addSeparator();
  scheduleTotal_ =
      Add(imprimir, QStringLiteral("Programacion (Total)"), [this] { PrintEntry('O'); });
  scheduleParts_ =
      Add(imprimir, QStringLiteral("Programacion (Parciales)"), [this] { PrintEntry('P'); });

  QMenu* otros = menu(QStringLiteral("Otros"));
  Add(otros, QStringLiteral("Preferencias"), push('B'));
  Add(otros, QStringLiteral("Recodificacion"), push('C'));

  QMenu* ayuda = menu(QStringLiteral("Ayuda"));
  Add(ayuda, QStringLiteral("Manual"), [this] { OpenManual(); });
  Add(ayuda, QStringLiteral("Acerca de..."), [this] { ShowAboutBox(this); });
}

QMenu* TForm1::TopMenu(const QString& caption) const {
  auto it = menus_.find(caption);
  return it == menus_.end() ? nullptr : it->second;
}

QAction* TForm1::MenuEntry(const QString& menu, const QString& entry) const {
  const QList<QAction*> actions =
      menu.isEmpty() ? menuBar()->actions()
                     : (TopMenu(menu) != nullptr ? TopMenu(menu)->actions() : QList<QAction*>());
  for (QAction* a : actions)
    if (a->text() == entry) return a;
  return nullptr;
}

void TForm1::SetMenusOn(bool on) {
  abrir_->setEnabled(on);
  for (const char* m : {"Editar", "Ver", "Imprimir", "Otros"})
    TopMenu(QString::fromLatin1(m))->menuAction()->setEnabled(on);
  calcular_->setEnabled(on);
  cronograma_->setEnabled(on);
}

void TForm1::DisableMenus() {
  SetMenusOn(false);
}
void TForm1::EnableMenus() {
  SetMenusOn(true);
}

void TForm1::UpdateMenusForSelection(bool obra) {
  for (QAction* a :
       {presupuestoObra_, cronograma_, scheduleTotal_, scheduleParts_, separatorN2_, viewSchedule_})
    a->setVisible(obra);
  budgetTotal_->setText(obra ? QStringLiteral("Presupuesto (Total)")
                             : QStringLiteral("Listados (Total)"));
  budgetParts_->setText(obra ? QStringLiteral("Presupuesto (Parciales)")
                             : QStringLiteral("Listados (Parciales)"));
}

void TForm1::UpdateListingMenus() {
  const Preferences& p = Prefs();
  const auto any = [](auto first, auto last) { return std::find(first, last, true) != last; };
  const size_t budgetParts = Shell().obraSelected ? p.totalBudgetParts.size() : 4;
  budgetTotal_->setEnabled(
      any(p.totalBudgetParts.begin(), p.totalBudgetParts.begin() + budgetParts));
  formsTotal_->setEnabled(any(p.totalFormParts.begin(), p.totalFormParts.end()));
  scheduleTotal_->setEnabled(any(p.totalScheduleParts.begin(), p.totalScheduleParts.end()));
}

void TForm1::ViewEntry(char letter) {
  if (!Shell().fontInstalled) {
    InstallError(kFontMessage);
    return;
  }
  Shell().viewMode = true;
  PushCommand(static_cast<uint8_t>(letter));
}

void TForm1::PrintEntry(char letter) {
  Shell().viewMode = false;
  PushCommand(static_cast<uint8_t>(letter));
}

void TForm1::OpenManual() {
  const std::filesystem::path pdf = FindProgramFile("Vantu.pdf");
  std::error_code ec;
  if (!std::filesystem::exists(pdf, ec)) {
    InstallError(kManualMessage);
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(pdf.string()))))
    InstallError(kReaderMessage);
}

void TForm1::Quit() {
  if (AskQuit() == QuitOutcome::HaltNow) host_->RequestHalt(0);
}

void TForm1::closeEvent(QCloseEvent* e) {
  // The window closes only when the program ends; the close box asks and
  // pushes codes for the main loop.
  e->ignore();
  Quit();
}

int TForm1::LayoutPoints(int layoutState) const {
  const int base = console_->BaseFontSize();
  if (layoutState == 2) return base;
  return std::max(1, static_cast<int>(std::lround(base * console_->ReducedScale())));
}

QSize TForm1::OuterSize(int layoutState) const {
  const QFont font = ConsoleFont(console_->ConsoleFontNow().family(), LayoutPoints(layoutState));
  const QSize cell = console_->ConsoleFontNow().pointSize() == LayoutPoints(layoutState)
                         ? QSize(console_->CellWidth(), console_->CellHeight())
                         : CellOf(font);
  const int rows = panel_->NRow() + panel_->ButtonAreaRows();
  return {panel_->NCol() * cell.width(), rows * cell.height() + menuBar()->sizeHint().height()};
}

QRect TForm1::LayoutRect(int layoutState) const {
  const QSize outer = OuterSize(layoutState);
  // The frame the window manager adds counts when the window is centred.
  const QSize frame = isVisible() ? frameGeometry().size() - geometry().size() : QSize(0, 0);
  const int left = (desktop_.width() - outer.width() - frame.width()) / 2;
  const int top = layoutState == 2 ? 0 : (desktop_.height() - outer.height() - frame.height()) / 2;
  return QRect(QPoint(left, std::max(top, 0)), outer);
}

void TForm1::ApplyLayout(int layoutState) {
  console_->SetFontSize(LayoutPoints(layoutState), layoutState);
  centralWidget()->setMinimumSize(0, 0);
  // The window may be as small as the reduced grid and has no largest
  // size: the window manager offers maximize and restore, and a window it
  // maximizes to the whole screen shows the full grid centred, not in a
  // corner.
  if (!console_->FixedFont()) {
    setMinimumSize(OuterSize(0).boundedTo(OuterSize(2)));
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  const QRect r = LayoutRect(layoutState);
  resize(r.size());
  move(r.topLeft());
  CentrePanel();
}

void TForm1::CentrePanel() {
  const QSize area = centralWidget()->size(), grid = panel_->size();
  // The full layout stands at the top of the screen, as its window would.
  const int top = console_->LayoutState() == 2 ? 0 : (area.height() - grid.height()) / 2;
  panel_->move(std::max(0, (area.width() - grid.width()) / 2), std::max(0, top));
}

void TForm1::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  CentrePanel();
}

void TForm1::ShowStartup() {
  ApplyLayout(2);
  showMaximized();
}

void TForm1::BringToFront() {
  if (isMinimized()) showNormal();
  if (console_->LayoutState() == 2) showMaximized();
  raise();
  activateWindow();
}

void TForm1::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() != QEvent::WindowStateChange || togglingLayout_ || isMinimized()) return;
  // Maximize and restore from the title bar switch between the layouts.
  const int wanted = isMaximized() ? 2 : 0;
  if (wanted == console_->LayoutState()) return;
  QTimer::singleShot(0, this, [this, wanted] {
    togglingLayout_ = true;
    hide();
    ApplyLayout(wanted);
    if (wanted == 2)
      showMaximized();
    else
      showNormal();
    // The window manager may put back the geometry it remembered.
    const QRect r = LayoutRect(wanted);
    resize(r.size());
    move(r.topLeft());
    togglingLayout_ = false;
  });
}

}  // namespace vantu::gui
