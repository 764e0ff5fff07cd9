// The help screens of the chart editor and of its progress window.
#include <string>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "schedule/schedule_editor.h"
#include "session/shell_state.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

struct HelpRow {
  std::string keys, action;
};

const std::string kLeft(1, '\x1B'), kRight(1, '\x1A'), kUp(1, '\x18'), kDown(1, '\x19');

const std::vector<HelpRow>& KeyRows() {
  static const std::vector<HelpRow> rows = {
      {" RePag,AvPag ", "retrocede, avanza un CAPITULO o ITEM"},
      {"   " + kLeft + " , " + kRight + "     ", "retrocede, avanza el cursor"},
      {"   " + kUp + " , " + kDown + "     ", "sube, baja un campo"},
      {" Inicio,Fin  ", "primera, ultima columna"},
      {" Retroceso   ", "retrocede y borra ultimo caracter entrado"},
      {" Supr        ", "desinserta caracter donde esta el cursor"},
      {" F3          ", "cambia periodo programacion MES/SEMANA"},
      {" F5          ", "muestra el avance de obra por periodos"},
      {" F7          ", "salva el diagrama de barras"},
      {" F8          ", "cambia alcance programacion CAPITULO/ITEM"},
      {" F9          ", "inserta un espacio en blanco"},
      {" Intro       ", "marca actividad en un periodo"},
      {" Espaciador  ", "borra actividad previamente marcada"},
      {" Tabulador   ", "borra todo el diagrama de barras"},
      {" Insert      ", "muestra/borra los costos en porcentaje"},
      {" Esc         ", "regresa al menu anterior"}};
  return rows;
}

const std::vector<std::string>& MouseLines() {
  static const std::vector<std::string> lines = {
      "Clic izquierdo sencillo",
      "  Sobre el codigo o la descripcion escoge la actividad.",
      "  Sobre los numeros de los periodos escoge el periodo.",
      "  Sobre el diagrama marca o desmarca el periodo y deja",
      "  alli el cursor; el clic doble lo cambia dos veces y",
      "  lo deja como estaba.",
      "Clic sostenido y arrastre",
      "  Desde un periodo del diagrama a lo largo de su fila:",
      "  cada periodo recorrido queda como quedo el primero.",
      "  Al devolverse, los periodos dejados atras recuperan",
      "  lo que tenian. Al soltar el boton termina la marca.",
      "Capitulos",
      "  Las filas de capitulos se muestran pero no se marcan."};
  return lines;
}

const std::vector<HelpRow>& ProgressRows() {
  static const std::vector<HelpRow> rows = {
      {"   " + kUp + " , " + kDown + "     ", "sube, baja una linea"},
      {" RePag,AvPag ", "retrocede, avanza una pagina"},
      {" Inicio,Fin  ", "primera, ultima linea"},
      {" Clic periodo", "selecciona periodo (regreso)"},
      {" Supr        ", "elimina seleccion"},
      {" Esc         ", "regresa al cronograma"}};
  return rows;
}

bool Open(const std::string& title, const std::string& buttons, int top, int bottom) {
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'D';
  w.left = 5, w.right = 76, w.top = top, w.bottom = bottom;
  w.title = title;
  w.buttons = buttons;
  return OpenWindow(w);
}

void WriteRows(const std::vector<HelpRow>& rows) {
  GotoXY(3, 1);
  BoldText();
  WriteText("   Teclas      Accion Producida");
  int row = 2;
  for (const HelpRow& r : rows) {
    GotoXY(3, row++);
    BoldText();
    WriteText(r.keys);
    NormalText();
    WriteText("  " + r.action);
  }
}

// Waits for Esc or Ctrl+F1; true for Ctrl+F1.
bool WaitHelpKey() {
  for (;;) {
    const uint8_t k = GetKey();
    if (k == kKeyEsc) return false;
    if (k == kKeyCtrlF1) return true;
    Beep();
  }
}

// One help window; true when the user asked for the other one.
bool KeysWindow() {
  if (!Open(" COMANDOS PROGRAMACION ", "Esc^regresa CtrlF1^ayuda_mouse", 3, 22)) return false;
  WriteRows(KeyRows());
  const bool other = WaitHelpKey();
  CloseWindow();
  return other;
}

bool MouseWindow() {
  if (!Open(" COMANDOS PROGRAMACION (MOUSE) ", "Esc^regresa CtrlF1^ayuda_teclas", 4, 20))
    return false;
  int row = 2;
  for (const std::string& line : MouseLines()) {
    GotoXY(4, row++);
    if (line[0] != ' ')
      BoldText();
    else
      NormalText();
    WriteText(line);
  }
  NormalText();
  const bool other = WaitHelpKey();
  CloseWindow();
  return other;
}

}  // namespace

void ShowScheduleHelp() {
  ShellState& sh = Shell();
  const bool pending = sh.windowEscPending;
  sh.windowEscPending = true;
  bool keys = true;
  while (keys ? KeysWindow() : MouseWindow()) keys = !keys;
  sh.windowEscPending = pending;
}

void ShowProgressHelp() {
  if (!Open(" COMANDOS EJECUCION OBRA ", "Esc^regresa", 7, 16)) return;
  WriteRows(ProgressRows());
  while (GetKey() != kKeyEsc) Beep();
  CloseWindow();
}

}  // namespace vantu
