#include "gui/qt_host.h"

#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <fstream>
#include <iterator>

#include "gui/console_widget.h"
#include "gui/dialog_calendar.h"
#include "gui/dialog_consultant.h"
#include "gui/dialog_help.h"
#include "gui/dialog_prefs.h"
#include "gui/dialog_text.h"
#include "gui/files_dialog.h"
#include "gui/image_construct.h"
#include "gui/listing_printer.h"
#include "gui/main_window.h"
#include "gui/open_dialog.h"
#include "gui/save_dialog.h"
#include "gui/settings_store.h"
#include "gui/viewer_font.h"
#include "gui/viewer_form.h"
#include "platform/halt.h"
#include "platform/save_dialog.h"

namespace vantu::gui {

namespace {

QMessageBox::Icon IconOf(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information:
      return QMessageBox::Information;
    case BoxIcon::Warning:
      return QMessageBox::Warning;
    case BoxIcon::Error:
      return QMessageBox::Critical;
    case BoxIcon::Question:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

// "Description|pattern;pattern|..." as Qt's "Description (pattern pattern);;...".
}  // namespace

// The cells changed since the last turn are painted before the events are
// processed, so that their repaint is among them.
void QtHost::ProcessEvents() {
  if (window_) window_->Console()->FlushCells();
  QApplication::processEvents(QEventLoop::AllEvents);
  HaltIfRequested();
}

void QtHost::WaitForEvents() {
  if (window_) window_->Console()->FlushCells();
  QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  HaltIfRequested();
}

void QtHost::HaltIfRequested() {
  if (!haltRequested_) return;
  haltRequested_ = false;
  DoHalt(haltCode_);
}

void QtHost::Sleep(int ms) {
  if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void QtHost::Beep() {
  QApplication::beep();
}

Date QtHost::Today() {
  const QDate d = QDate::currentDate();
  return {d.day(), d.month(), d.year()};
}

BoxAnswer QtHost::MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                             BoxButtons buttons) {
  QMessageBox box(IconOf(icon), CoreToQt(caption), BoxText(text), QMessageBox::NoButton, window_);
  QPushButton* ok = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  if (buttons == BoxButtons::Ok) {
    ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    box.setEscapeButton(ok);
  } else {
    // The marked letters answer from the keyboard: S, N and C, as the
    // program's own answers are named.
    yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    if (buttons == BoxButtons::YesNoCancel)
      cancel = box.addButton(QStringLiteral("&Cancelar"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel != nullptr ? cancel : no);
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (ok != nullptr) return BoxAnswer::Ok;
  if (clicked == yes) return BoxAnswer::Yes;
  if (clicked == no) return BoxAnswer::No;
  return cancel != nullptr ? BoxAnswer::Cancel : BoxAnswer::No;
}

bool QtHost::OpenFileDialog(const std::string& initialDir, const std::string& title,
                            const std::string& filter, int options, std::string& fileName) {
  if ((options & kFileDialogSave) != 0) {
    const QString chosen = ChooseSaveFile(window_, CoreToQt(title), CoreToQt(initialDir), filter);
    if (chosen.isEmpty()) return false;
    fileName = QtToCore(chosen);
    return true;
  }
  OpenDialog dialog(window_, CoreToQt(title), CoreToQt(initialDir), filter,
                    (options & kFileDialogDirectory) != 0);
  if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty()) return false;
  fileName = QtToCore(dialog.Chosen());
  return true;
}

void QtHost::ManageFiles(const std::string& title, FileGroups& groups) {
  ManageFilesDialog(window_, title, groups);
}

void QtHost::RedrawCells(int col, int row, int count) {
  if (window_) window_->Console()->RedrawCells(col, row, count);
}

void QtHost::RedrawAll() {
  if (window_) window_->Console()->RedrawAll();
}

void QtHost::DrawRunFrame(int col, int row, int count, uint32_t colour) {
  if (window_) window_->Console()->DrawRunFrame(col, row, count, colour);
}

void QtHost::ShowCaret(bool shown, int col, int row) {
  if (window_) window_->Console()->SetCaret(shown, col, row);
}

void QtHost::FocusConsole() {
  if (window_ && !window_->Console()->hasFocus()) window_->Console()->setFocus();
}

void QtHost::SetWindowCaption(const std::string& caption) {
  if (window_) window_->setWindowTitle(CoreToQt(caption));
}

void QtHost::ButtonsChanged(int row) {
  if (window_) window_->Console()->RebuildButtons(row);
}

void QtHost::ImagesChanged() {
  if (!window_) return;
  TConsole* console = window_->Console();
  SyncConsoleImages(console, console->CellWidth(), console->CellHeight());
}

int QtHost::ColourDepth() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->depth() : 24;
}

PixelSize QtHost::DesktopSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {800, 600};
  return {screen->geometry().width(), screen->geometry().height()};
}

PixelSize QtHost::CellSize() {
  if (!window_) return {8, 16};
  return {window_->Console()->CellWidth(), window_->Console()->CellHeight()};
}

void QtHost::SetMenusEnabled(bool enabled) {
  if (!window_) return;
  if (enabled)
    window_->EnableMenus();
  else
    window_->DisableMenus();
}

void QtHost::UpdateMenusForSelection(bool obraSelected) {
  if (window_) window_->UpdateMenusForSelection(obraSelected);
}

void QtHost::UpdateListingMenus() {
  if (window_) window_->UpdateListingMenus();
}

bool QtHost::EditPreferences() {
  return vantu::EditPreferences(window_);
}

std::string QtHost::PickDate(const std::string& date) {
  return vantu::PickDate(window_, date);
}

bool QtHost::EditConsultant(std::string& name) {
  TConsultor dialog(window_);
  dialog.NameEdit()->setText(CoreToQt(name));
  dialog.exec();
  if (!dialog.Accepted()) return false;
  name = dialog.Name();
  return true;
}

void QtHost::ShowGeneralHelp() {
  vantu::ShowGeneralHelp(window_);
}

void QtHost::ShowListing(const std::string& fileName) {
  vantu::ShowListing(window_, fileName);
}

bool QtHost::RegisterFont(const std::string& path) {
  return RegisterListingFont(path);
}

void QtHost::UnregisterFont(const std::string&) {
  UnregisterListingFont();
}

std::string QtHost::ReadSetting(const std::string& key, const std::string& value) {
  return ReadSettingFile(key, value);
}

void QtHost::WriteSetting(const std::string& key, const std::string& value,
                          const std::string& text) {
  WriteSettingFile(key, value, text);
}

QtHost::QtHost() = default;
QtHost::~QtHost() = default;

QPrinter& QtHost::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *printer_;
}

bool QtHost::PrintDialog() {
  fileParts_.clear();
  QPrintDialog dialog(&Printer(), window_);
  return dialog.exec() == QDialog::Accepted;
}

// A real printer takes each listing as a job of its own; a file is written
// whole each time, so it is written again with every listing so far.
bool QtHost::PrintListingFile(const std::string& fileName, bool landscape, std::string& error) {
  QPrinter& printer = Printer();
  std::ifstream in(fileName, std::ios::binary);
  if (!in) {
    error = "no se puede leer " + fileName;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  bool drawn = false;
  if (printer.outputFileName().isEmpty()) {
    drawn = DrawListingFile(printer, bytes, landscape);
  } else {
    fileParts_.push_back({std::move(bytes), landscape});
    drawn = DrawListingParts(printer, fileParts_);
  }
  if (drawn) return true;
  error = "la impresora no acepta el trabajo";
  return false;
}

}  // namespace vantu::gui
