// The storage engine's framed error box, drawn for the engine when it
// fails: the status line "<code>: <text>", the file it failed on and the
// advice, then a key ends the program.
#include <cstring>

#include "app/install_modules.h"
#include "console/console.h"
#include "console/keys.h"
#include "storage/storage_engine.h"

namespace vantu {

namespace {

// The box: columns 5..75, rows 18..23; the text area inside the frame.
constexpr int kBoxLeft = 5, kBoxTop = 18, kBoxRight = 75, kBoxBottom = 23;
constexpr int kInnerLeft = 7, kInnerTop = 19, kInnerRight = 73, kInnerBottom = 22;
constexpr int kBoxBackground = 1;   // blue
constexpr int kBoxForeground = 10;  // light green
constexpr const char* kBoxTitle = " Falla en el Manejador de Archivos ";

// Double-line frame characters (code page 437).
constexpr char kTopLeft = '\xC9', kTopRight = '\xBB', kBottomLeft = '\xC8', kBottomRight = '\xBC',
               kHorizontal = '\xCD', kVertical = '\xBA';

void DrawFrame() {
  const int width = kBoxRight - kBoxLeft + 1;
  const int height = kBoxBottom - kBoxTop + 1;
  Window(kBoxLeft, kBoxTop, kBoxRight, kBoxBottom);
  TextBackground(kBoxBackground);
  TextColor(kBoxForeground);
  ClrScr();
  const std::string middle(width - 2, kHorizontal);
  GotoXY(1, 1);
  WriteText(kTopLeft + middle + kTopRight);
  for (int row = 2; row < height; ++row) {
    GotoXY(1, row);
    WriteText(std::string(1, kVertical));
    GotoXY(width, row);
    WriteText(std::string(1, kVertical));
  }
  GotoXY(1, height);
  WriteText(kBottomLeft + middle + kBottomRight);
  const int titleLength = static_cast<int>(std::strlen(kBoxTitle));
  GotoXY((width - titleLength) / 2 + 1, 1);
  WriteText(kBoxTitle);
}

void ShowFailureBox(int code, const std::string& file) {
  Delay(100);
  DrawFrame();
  Window(kInnerLeft, kInnerTop, kInnerRight, kInnerBottom);
  GotoXY(2, 2);
  WriteText(StatusMessage(code));
  if (!file.empty()) {
    // The end of a long path is what tells the files apart.
    const size_t room = kInnerRight - kInnerLeft - 10;
    const std::string shown =
        file.size() > room ? "..." + file.substr(file.size() - room + 3) : file;
    GotoXY(2, 3);
    WriteText("Archivo: " + shown);
  }
  const std::string advice = AdviceLine(code);
  const int innerWidth = kInnerRight - kInnerLeft + 1;
  GotoXY(innerWidth / 2 - static_cast<int>(advice.size()) / 2, 4);
  WriteText(advice);
  ReadKey();
  Window(1, 1, 80, 25);
  GotoXY(1, 24);
  ClrEol();
}

}  // namespace

void InstallEngineFailureScreen() {
  EngineFailureScreen().show = ShowFailureBox;
}

}  // namespace vantu
