#pragma once
// The Qt host: the Platform the core talks to while the main window shows
// the console.

#include <memory>
#include <string>
#include <vector>

#include "gui/listing_printer.h"
#include "platform/platform.h"

class QPrinter;

namespace vantu::gui {

class TForm1;

class QtHost : public Platform {
 public:
  QtHost();
  ~QtHost() override;
  // The window whose console, menus and dialogs serve the core.
  void Attach(TForm1* window) { window_ = window; }
  TForm1* Window() const { return window_; }
  // The close path asks the program to stop at once: the next event pump
  // throws Halt.
  void RequestHalt(int exitCode) {
    haltRequested_ = true;
    haltCode_ = exitCode;
  }

  void ProcessEvents() override;
  void WaitForEvents() override;
  void Sleep(int ms) override;
  void Beep() override;
  Date Today() override;
  BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                       BoxButtons buttons) override;
  bool OpenFileDialog(const std::string& initialDir, const std::string& title,
                      const std::string& filter, int options, std::string& fileName) override;
  void ManageFiles(const std::string& title, FileGroups& groups) override;

  void RedrawCells(int col, int row, int count) override;
  void RedrawAll() override;
  void DrawRunFrame(int col, int row, int count, uint32_t colour) override;
  void ShowCaret(bool shown, int col, int row) override;
  void FocusConsole() override;
  void SetWindowCaption(const std::string& caption) override;
  void ButtonsChanged(int row) override;
  void ImagesChanged() override;

  int ColourDepth() override;
  PixelSize DesktopSize() override;
  PixelSize CellSize() override;

  void SetMenusEnabled(bool enabled) override;
  void UpdateMenusForSelection(bool obraSelected) override;
  void UpdateListingMenus() override;

  bool EditPreferences() override;
  std::string PickDate(const std::string& date) override;
  bool EditConsultant(std::string& name) override;
  void ShowGeneralHelp() override;
  void ShowListing(const std::string& fileName) override;
  bool PrintDialog() override;
  bool PrintListingFile(const std::string& fileName, bool landscape, std::string& error) override;
  // The printer the next print dialog opens on and the listings draw on.
  QPrinter& Printer();

  bool RegisterFont(const std::string& path) override;
  void UnregisterFont(const std::string& path) override;

  std::string ReadSetting(const std::string& key, const std::string& value) override;
  void WriteSetting(const std::string& key, const std::string& value,
                    const std::string& text) override;

 private:
  void HaltIfRequested();

  TForm1* window_ = nullptr;
  std::unique_ptr<QPrinter> printer_;  // the printer of the last print dialog
  // The listings printed to a file since the last print dialog: one command
  // (a total listing) may print several, and the file holds them all.
  std::vector<ListingPart> fileParts_;
  bool haltRequested_ = false;
  int haltCode_ = 0;
};

}  // namespace vantu::gui
