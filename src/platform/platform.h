#pragma once
// The host interface: everything the core asks of the outside world.
// The Qt host (src/gui) and the headless host (src/platform/headless)
// implement it. Text crossing this interface is Windows-1252 bytes.

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantu {

struct Date {
  int day = 1;
  int month = 1;
  int year = 2000;
};

struct PixelSize {
  int width = 0;
  int height = 0;
};

// Icons and button sets of the platform message box.
enum class BoxIcon { None, Information, Warning, Error, Question };
enum class BoxButtons { Ok, YesNo, YesNoCancel };
// Answer of a message box.
enum class BoxAnswer { Ok, Yes, No, Cancel };

// A platform dialog that failed to run (not a cancel by the user).
struct PlatformError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Option of the open-file dialog: a directory may be chosen as well as a
// file; the chosen directory's path comes back then.
constexpr int kFileDialogDirectory = 1;

// The files of one Rama or Obra in named groups, and the operations the
// file-management dialog offers on them. The core implements it; the host
// only shows it. Names are bare file names in Directory().
class FileGroups {
 public:
  virtual ~FileGroups() = default;
  virtual std::string Directory() const = 0;
  virtual int Count() const = 0;
  virtual std::string Name(int group) const = 0;
  // The group's files now in the directory, sorted.
  virtual std::vector<std::string> Files(int group) const = 0;
  // Copies (or moves) the group's files into `target`; `overwrite` is asked
  // for every file already there, false keeps it. Returns a report line.
  virtual std::string CopyTo(int group, const std::string& target, bool move,
                             const std::function<bool(const std::string& name)>& overwrite) = 0;
  // Deletes the group's files (the caller has asked first). Returns a report line.
  virtual std::string Delete(int group) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Events and time.
  virtual void ProcessEvents() = 0;
  // Blocks until the host has something to process (a key, a click, a timer,
  // a repaint), then processes it: the wait of ReadKey. Never a polling
  // sleep, so an idle program does not wake the machine.
  virtual void WaitForEvents() = 0;
  virtual void Sleep(int ms) = 0;
  // The monotonic clock that paces long runs, read once per record: a
  // coarse reading (a few milliseconds of resolution) where the system has
  // a cheaper one.
  virtual std::chrono::steady_clock::time_point Now();
  virtual void Beep() = 0;
  virtual Date Today() = 0;

  // Dialogs.
  virtual BoxAnswer MessageBox(const std::string& text, const std::string& caption, BoxIcon icon,
                               BoxButtons buttons) = 0;
  // Print dialog with the warning option; true when accepted. Throws
  // PlatformError when the dialog cannot run.
  virtual bool PrintDialog() { return false; }
  // Open-file dialog; on acceptance `fileName` receives the chosen path.
  // Throws PlatformError when the dialog cannot run.
  virtual bool OpenFileDialog(const std::string& /*initialDir*/, const std::string& /*title*/,
                              const std::string& /*filter*/, int /*options*/,
                              std::string& /*fileName*/) {
    return false;
  }
  // The file-management dialog over the groups, modal.
  virtual void ManageFiles(const std::string& /*title*/, FileGroups& /*groups*/) {}

  // Screen: the console tells the host which cells changed. Positions are
  // 1-based absolute columns and rows.
  virtual void RedrawCells(int col, int row, int count) = 0;
  virtual void RedrawAll() = 0;
  // A one-pixel closed frame drawn at once around cells [col, col+count) of a
  // row, in the given colour (0x00BBGGRR); not recorded in the cells.
  virtual void DrawRunFrame(int col, int row, int count, uint32_t colour) = 0;
  virtual void ShowCaret(bool shown, int col, int row) = 0;
  virtual void FocusConsole() = 0;
  virtual void SetWindowCaption(const std::string& caption) = 0;
  // Key-button row 1 or 2, or the free-standing buttons (row 0), changed.
  virtual void ButtonsChanged(int row) = 0;
  // The console's image slots changed.
  virtual void ImagesChanged() {}

  // Screen facts.
  virtual int ColourDepth() = 0;
  virtual PixelSize DesktopSize() = 0;
  virtual PixelSize CellSize() = 0;

  // Main window menus (disabled while the selection runs).
  virtual void SetMenusEnabled(bool /*enabled*/) {}
  virtual void UpdateMenusForSelection(bool /*obraSelected*/) {}
  // The Imprimir and Ver entries follow the preferences' total-listing parts.
  virtual void UpdateListingMenus() {}

  // Side dialogs. EditPreferences: command B, true when accepted. PickDate:
  // date "dd/mm/yyyy" or empty (today); returns the chosen date, or the input
  // (today when empty) on Cancel. ShowListing: the listing viewer, modal.
  virtual bool EditPreferences() { return false; }
  virtual std::string PickDate(const std::string& date) { return date; }
  // The consultant dialog on `name`; true when accepted, with the new name.
  virtual bool EditConsultant(std::string& /*name*/) { return false; }
  virtual void ShowGeneralHelp() {}
  virtual void ShowListing(const std::string& /*fileName*/) {}
  // Draws the listing file on the printer chosen in the last print dialog,
  // in landscape or portrait; false when it could not be printed, with the
  // reason in `error`.
  virtual bool PrintListingFile(const std::string& /*fileName*/, bool /*landscape*/,
                                std::string& error) {
    error = "no hay impresora";
    return false;
  }

  // The listing font file beside the program; true when registered.
  virtual bool RegisterFont(const std::string& /*path*/) { return false; }
  virtual void UnregisterFont(const std::string& /*path*/) {}

  // Settings store (key "\Presupuesto" and its values).
  virtual std::string ReadSetting(const std::string& key, const std::string& value) = 0;
  virtual void WriteSetting(const std::string& key, const std::string& value,
                            const std::string& text) = 0;
};

// The one host of the program. Set by main or by a test before the core runs.
Platform& Host();
void SetHost(Platform* host);

}  // namespace vantu
