#pragma once
// Engine-global state: the outcome of the last operation, the status of a
// failing step, the work buffer and the page cache shared by all open
// indexes; and the engine's one way of failing, a framed error box followed
// by the end of the program.

#include <array>
#include <cstdint>
#include <string>

#include "storage/page_cache.h"

namespace vantu {

// Status codes of the engine's own checks. The texts are in StatusText.
enum EngineCode : int16_t {
  kStatusNone = 0,
  kStatusDosFunction = 1,
  kStatusReadError = 100,
  kStatusWriteError = 101,
  kStatusNotOpen = 103,
  kStatusRecordTooLong = 1000,
  kStatusRecordTooShort = 1001,
  kStatusKeyTooLong = 1002,
  kStatusDataLength = 1003,
  kStatusIndexLength = 1004,
  // Damaged files and calls outside the file.
  kStatusFreeChain = 1006,
  kStatusBadPage = 1007,
  kStatusRecordRange = 1008,
  kStatusFileFull = 1009,
  // Operating-system refusals and set-level checks, each with its file.
  kStatusAccessDenied = 1010,
  kStatusDiskFull = 1011,
  kStatusDataFileMissing = 1012,
  kStatusAlreadyOpen = 1013,
  kStatusMarkerNotWritten = 1014,
  kStatusNameTooLong = 1015,
  kStatusSetInUse = 1016,
  kStatusSetFileMissing = 1017,
  kStatusEmptyFile = 1018,
  kStatusIsFolder = 1019,
};

struct EngineState {
  bool LastOpOk = true;
  int16_t EngineStatus = 0;
  std::array<uint8_t, 1024> workBuffer{};
  PageCacheState PageCache;
  bool initialised = false;
  bool failed = false;     // the error box was shown; the program is ending
  std::string failedFile;  // the file the failing step worked on, when known
  int OpenError = 0;       // errno of the last MakeFile/OpenFile that failed, else 0
};

EngineState& Engine();
inline bool LastOpOk() {
  return Engine().LastOpOk;
}

// Start-up: LastOpOk true, status 0, empty page cache with LRU order 1..5.
void InitStorageEngine();
// Shutdown: drops the cache without writing anything.
void ShutdownStorageEngine();
// Tests: back to the state before start-up, then start up.
void ResetStorageEngine();

// Status table text ("Error no especificado" for codes not listed), and the
// advice line of the error box.
std::string StatusText(int code);
std::string AdviceLine(int code);
// The message line: "<code>: <text>".
std::string StatusMessage(int code);

// The screen of a failure: the framed error box with the message line, the
// file and the advice, waiting for a key. Installed by the program; the
// engine itself draws nothing.
struct EngineFailureUi {
  void (*show)(int code, const std::string& file) = nullptr;
};
EngineFailureUi& EngineFailureScreen();

// Does nothing while EngineStatus is 0; otherwise shows the error box
// through EngineFailureScreen() and ends the program (throws Halt).
void CheckEngineStatus();
// Sets the status and runs the check.
[[noreturn]] void FailEngine(int16_t code);
// The same, naming the file in the error box.
[[noreturn]] void FailEngine(int16_t code, const std::string& file);

// Exit code the program ends with after the error box.
constexpr int kEngineFailureExitCode = 1;

}  // namespace vantu
