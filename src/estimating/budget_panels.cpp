#include "estimating/budget_panels.h"

#include "console/console.h"
#include "console/keys.h"
#include "console/zones.h"
#include "toolkit/help_screens.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/screen.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

constexpr int kFieldZoneTable = 8;
constexpr int kButtonColumn = 64;  // right of the widest value (column 60)
constexpr int kButtonWidth = 15;

struct ItemButton {
  const char* caption;
  const char* key;
  int row;
  uint8_t code;
};

constexpr ItemButton kButtons[] = {
    {"<Por definir>", "Tecla: F8", 13, kKeyF8},
    {"Explicacion", "Tecla: CtrlF12", 16, kKeyCtrlF12},
};

std::string Centered(const std::string& text) {
  const int left = (kButtonWidth - static_cast<int>(text.size())) / 2;
  std::string s(static_cast<size_t>(left), ' ');
  s += text;
  s.resize(kButtonWidth, ' ');
  return s;
}

void AddZone(const ItemButton& b) {
  ZoneTable& table = Zones(kFieldZoneTable);
  for (ClickZone& z : table) {
    if (z.code != 255) continue;
    z = MakeZone(b.code, kButtonColumn - 1, kButtonColumn + kButtonWidth - 2, b.row - 1, b.row);
    z.field = 0;  // not a field: the click is the button's key
    return;
  }
}

}  // namespace

void ShowItemButtons(bool shown) {
  for (const ItemButton& b : kButtons) {
    for (int i = 0; i < 2; ++i) {
      GotoXY(kButtonColumn, b.row + i);
      if (shown)
        FieldBoldText();
      else
        NormalText();
      WriteText(shown ? Centered(i == 0 ? b.caption : b.key) : std::string(kButtonWidth, ' '));
    }
    if (shown) AddZone(b);
  }
  NormalText();
}

const std::vector<std::string>& PorDefinirExplanation() {
  static const std::vector<std::string> lines = {
      "Hay items cuyas cantidades de obra no se conocen al",
      "elaborar el presupuesto. Si su cantidad se deja en cero,",
      "la revision (opcion Calcular) los reporta como errores.",
      "Marcando su cantidad como <POR DEFINIR> se evita ese",
      "reporte y el item queda pendiente de definir.",
      "Estos items aparecen en el listado de Analisis Unitarios,",
      "pero no necesariamente en el listado del Presupuesto.",
      "Para imprimirlos en el Presupuesto (sin valor) escoja en",
      "el menu Otros/Preferencias la opcion:",
      "   Listar Items con Cant. Obra <POR DEFINIR>.",
      "",
      "El boton <Por definir> (tecla F8) actua como interruptor:",
      "oprimido una vez marca la cantidad de obra del item como",
      "<POR DEFINIR>; oprimido de nuevo la desmarca y deja",
      "entrar la cantidad.",
  };
  return lines;
}

void ShowPorDefinirExplanation() {
  const std::vector<std::string>& lines = PorDefinirExplanation();
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'D';
  w.left = 9;
  w.right = 71;
  w.top = 4;
  w.bottom = w.top + static_cast<int>(lines.size()) + 1;
  w.title = "EXPLICACION BOTON <POR DEFINIR>";
  w.buttons = "Esc^regresa CtrlF1^ayuda_teclas";
  if (!OpenWindow(w)) return;
  for (;;) {
    NormalText();
    for (size_t i = 0; i < lines.size(); ++i) {
      GotoXY(3, static_cast<int>(i) + 1);
      WriteText(lines[i]);
    }
    const uint8_t k = GetKey();
    if (k == kKeyEsc) break;
    if (k == kKeyCtrlF1)
      ShowGeneralKeysHelp();
    else
      Beep();
  }
  CloseWindow();
}

}  // namespace vantu
