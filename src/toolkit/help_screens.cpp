#include "toolkit/help_screens.h"

#include <string>
#include <vector>

#include "console/console.h"
#include "console/keys.h"
#include "toolkit/key_reader.h"
#include "toolkit/schemes.h"
#include "toolkit/window_stack.h"

namespace vantu {

namespace {

struct HelpRow {
  std::string keys, action;
};

// The cursor keys are shown with the console's arrow glyphs.
const std::string kLeft(1, static_cast<char>(kGlyphArrowLeft));
const std::string kRight(1, static_cast<char>(kGlyphArrowRight));
const std::string kUp(1, static_cast<char>(kGlyphArrowUp));
const std::string kDown(1, static_cast<char>(kGlyphArrowDown));

const std::vector<HelpRow>& GeneralKeyRows() {
  static const std::vector<HelpRow> rows = {
      {" RePag,AvPag ", "retrocede, avanza un CAPITULO o ITEM"},
      {"   " + kLeft + " , " + kRight + "     ", "retrocede, avanza el cursor"},
      {"   " + kUp + " , " + kDown + "     ", "sube, baja un campo"},
      {" Inicio,Fin  ", "retroceso, avance horizontal de un campo"},
      {" Retroceso   ", "retrocede y borra ultimo caracter entrado"},
      {" Supr        ", "borra caracter donde esta el cursor"},
      {" F1    Lista ", "Ventana con lista completa de CAPITULOS/ITEMS"},
      {" .. en Lista ", "F1 cambia ARCHIVO - F2 busca rapida CAPITULOS"},
      {" F4          ", "permite recodificar (cambiar codigos)"},
      {" F5          ", "permite duplicar ITEM para hacer uno similar"},
      {" F6          ", "cambio manual de la fecha"},
      {" F11         ", "borrado total del campo donde esta el cursor"},
      {" F12         ", "recupera dato recien borrado y deja reeditar"},
      {" Tabulador   ", "elimina permanentemente un CAPITULO o ITEM"},
      {" Insert      ", "Ventana: despliega/quita el Costo de un ITEM"},
      {" Esc         ", "regresa despliegue anterior o termina sesion"}};
  return rows;
}

const std::vector<HelpRow>& ReviewKeyRows() {
  static const std::vector<HelpRow> rows = {
      {" CtrlRePag   ", "regresa al error anterior"},
      {" CtrlAvPag   ", "pasa al error siguiente"},
      {" CtrlFin     ", "termina (desactiva) la revision de errores "}};
  return rows;
}

// Lines of 59 characters at most, paragraph by paragraph.
const std::vector<std::string>& MouseLines() {
  static const std::vector<std::string> lines = {
      "Clic izquierdo sencillo",
      "  Es el uso general. Las zonas de entrada que aceptan clic",
      "  estan enmarcadas y el area activa tiene fondo blanco. Con",
      "  clic se escoge en menus y listas; en el Cronograma marca",
      "  y desmarca las actividades.",
      "Clic izquierdo doble",
      "  Acepta las opciones [OK]. En campos de codigos abre las",
      "  listas como el boton VER LISTA o la tecla F1; en las",
      "  listas escoge la opcion como el boton ENTRA DATO o Intro.",
      "Clic derecho",
      "  En el campo de codigo principal propone el siguiente",
      "  codigo libre mas alto; en los campos de codigos de",
      "  UNITARIOS y PRESUPUESTO ofrece crear Globales; tambien en",
      "  la duplicacion y en la recodificacion parcial.",
      "Teclas equivalentes botones",
      "  Al dejar el puntero del mouse sobre un boton se muestra",
      "  la tecla equivalente."};
  return lines;
}

bool OpenHelp(const std::string& title, const std::string& buttons, int left, int top, int right,
              int bottom) {
  WindowDesc w;
  w.scheme = CurrentScheme();
  w.frame = 'D';
  w.left = left, w.top = top, w.right = right, w.bottom = bottom;
  w.title = title;
  w.buttons = buttons;
  return OpenWindow(w);
}

void WriteRows(int row, const std::vector<HelpRow>& rows) {
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

bool KeysScreen() {
  if (!OpenHelp(" COMANDOS GENERALES (TECLAS) ", "Esc^regresa CtrlF1^ayuda_mouse", 1, 1, 80, 25))
    return false;
  GotoXY(3, 1);
  BoldText();
  WriteText(std::string("   Teclas   ") + "  " + "             Accion Producida                 ");
  WriteRows(2, GeneralKeyRows());
  GotoXY(3, 19);
  BoldText();
  WriteText(" Acciones activadas durante manejo de errores ");
  WriteRows(20, ReviewKeyRows());
  const bool other = WaitHelpKey();
  CloseWindow();
  return other;
}

bool MouseScreen() {
  if (!OpenHelp(" COMANDOS GENERALES (MOUSE) ", "Esc^regresa CtrlF1^ayuda_teclas", 1, 1, 80, 25))
    return false;
  int row = 2;
  for (const std::string& line : MouseLines()) {
    GotoXY(10, row++);
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

void ListCommandsHelp(const std::vector<HelpRow>& rows, int left, int right) {
  const int top = 4;
  if (!OpenHelp(" COMANDOS ESPECIFICOS ", "Esc^regresa", left, top, right,
                top + static_cast<int>(rows.size()) + 1))
    return;
  WriteRows(1, rows);
  while (GetKey() != kKeyEsc) Beep();
  CloseWindow();
}

}  // namespace

void ShowGeneralKeysHelp() {
  while (KeysScreen() && MouseScreen()) {
  }
}

void ShowGeneralMouseHelp() {
  while (MouseScreen() && KeysScreen()) {
  }
}

void ShowListKeysHelp() {
  ListCommandsHelp({{"RePag,AvPag ", "retrocede, avanza un pagina"},
                    {"   " + kUp + " , " + kDown + "    ", "sube, baja una fila"},
                    {"    F1      ", "cambia a otras opciones de captura ( si hay )"},
                    {"    F2      ", "facilita seleccionar un CAPITULO y al oprimir"},
                    {"            ", "de nuevo F2, muestra los ITEMS de ese capitulo"},
                    {"    F7      ", "busca un CAPITULO, ITEM que contenga un texto"},
                    {"   Inicio   ", "regresa al primer CAPITULO de primera pagina"},
                    {"   Insert   ", "Ventana: muestra detalle del ITEM seleccionado"},
                    {"   Intro    ", "captura automatica del codigo seleccionado"},
                    {"   Esc      ", "regresa al despliegue anterior"}},
                   8, 73);
}

void ShowSearchKeysHelp() {
  ListCommandsHelp({{"    F11    ", "borra el dato a buscar"},
                    {"    F12    ", "recupera el dato borrado"},
                    {"   Intro   ", "realiza la busqueda"},
                    {"    Esc    ", "regresa al despliegue anterior"}},
                   16, 65);
}

}  // namespace vantu
