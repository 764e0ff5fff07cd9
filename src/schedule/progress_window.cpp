// The progress window of the chart editor (F5): one line per period with
// its investment, the cumulative investment, both as shares of the total,
// and a bar of the cumulative share. The line of the chart's current
// period starts selected; a click on a line chooses that period and
// returns, Supr drops the selection, Esc returns the selection.
#include <algorithm>
#include <string>

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "schedule/schedule_editor.h"
#include "schedule/schedule_state.h"
#include "session/shell_state.h"
#include "toolkit/field_format.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kTop = 2, kBottom = 24, kLeft = 1, kRight = 80;
constexpr int kLines = kBottom - kTop - 2;  // inside rows less the heading
constexpr int kBarWidth = 15;               // what the 78 inside columns leave
constexpr int kZoneTable = 4;
constexpr uint8_t kClickLine = 149;

struct View {
  int length = 0;
  int first = 1;     // first period shown
  int selected = 0;  // 0: none
  long double total = 0;
};

long double Share(long double v, long double total) {
  return total == 0 ? 0 : v / total * 100;
}

std::string LineText(const View& v, int p) {
  const ScheduleState& s = Schedule();
  const long double billing = s.periods[p][kBilling];
  const long double executed = s.periods[p][kExecuted];
  std::string kind = s.block.PeriodKind() == schedule_file::kWeeks ? "SEM" : "MES";
  std::string no = std::to_string(p);
  if (no.size() < 2) no = " " + no;
  const int bar = static_cast<int>(Share(executed, v.total) * kBarWidth / 100 + 0.5L);
  return " " + kind + "  " + no + "  " + FormatNumber(17, 2, billing) + " " +
         FormatNumber(17, 2, executed) + " " + FormatNumber(7, 2, Share(billing, v.total)) + " " +
         FormatNumber(7, 2, Share(executed, v.total)) + " " +
         std::string(static_cast<size_t>(std::clamp(bar, 0, kBarWidth)), '\xDB');
}

void Draw(const View& v) {
  GotoXY(1, 1);
  BoldText();
  ClrEol();
  WriteText(" PER  No.            PERIODO         ACUMULADO    % PER  % ACUM  AVANCE");
  ClearZoneTable(kZoneTable);
  for (int i = 0; i < kLines; ++i) {
    const int p = v.first + i;
    GotoXY(1, i + 2);
    if (p == v.selected)
      FieldBoldText();
    else
      NormalText();
    ClrEol();
    if (p > v.length) continue;
    WriteText(LineText(v, p));
    Zones(kZoneTable)[i] = MakeZone(kClickLine, kLeft, kRight - 2, kTop + i + 1, kTop + i + 1);
  }
  NormalText();
}

void Move(View& v, int to) {
  v.selected = std::clamp(to, 1, v.length);
  if (v.selected < v.first) v.first = v.selected;
  if (v.selected >= v.first + kLines) v.first = v.selected - kLines + 1;
}

int Run(View& v) {
  for (;;) {
    Draw(v);
    const uint8_t k = GetKey();
    const int at = std::max(v.selected, v.first);
    switch (k) {
      case kKeyEsc:
        return v.selected;
      case kKeyUp:
        Move(v, at - 1);
        break;
      case kKeyDown:
        Move(v, v.selected == 0 ? at : at + 1);
        break;
      case kKeyPgUp:
        Move(v, at - kLines);
        break;
      case kKeyPgDn:
        Move(v, at + kLines);
        break;
      case kKeyHome:
        Move(v, 1);
        break;
      case kKeyEnd:
        Move(v, v.length);
        break;
      case kKeyDelete:
        v.selected = 0;
        break;
      case kKeyCtrlF1:
        ShowProgressHelp();
        break;
      case kClickLine: {
        const int p = v.first + Input().mouseRow - kTop - 1;
        if (Input().noTypedKey && p >= 1 && p <= v.length) return p;
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace

int ShowProgressWindow() {
  const ScheduleState& s = Schedule();
  View v;
  v.length = s.block.Length();
  if (v.length == 0) return 0;
  v.total = s.periods[v.length][kExecuted];
  Move(v, std::min(s.period, v.length));
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'D';
  w.left = kLeft, w.right = kRight, w.top = kTop, w.bottom = kBottom;
  w.title = " AVANCE DE OBRA POR PERIODO Y ACUMULADA  (GRAFICO) ";
  w.buttons = "Esc^regresa CtrlF1^ayuda Supr^elimina";
  if (!OpenWindow(w)) return 0;
  ShellState& sh = Shell();
  const bool pending = sh.windowEscPending;
  sh.windowEscPending = true;
  const int chosen = Run(v);
  sh.windowEscPending = pending;
  ClearZoneTable(kZoneTable);
  CloseWindow();
  return chosen;
}

}  // namespace vantu
