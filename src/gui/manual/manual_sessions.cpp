#include "gui/manual/manual_sessions.h"

#include <filesystem>

#include "app/menu_commands.h"
#include "console/keys.h"
#include "gui/manual/shot_host.h"
#include "session/shell_state.h"

namespace vantu::manual {

namespace {

void Selection(ShotHost& h) {
  h.Shot("seleccion", {"SELECCION INICIAL", "SELECCION RAMAS/OBRAS", "[A] - Edificaciones"});
  h.Type("A", {kKeyEnter});
  h.Type("01", {kKeyEnter});
  h.Shot("seleccion-obra", {"<<< Edificaciones de vivienda >>>", "Codigo Obra (XX)   : 01"});
  h.Type("", {kKeyEnter});
}

void GeneralData(ShotHost& h) {
  h.Menu('D');
  h.Shot("datos-generales", {"Datos Generales", "Forma aplicar el AIU", "% Anticipo"});
  h.Type("", {kKeyEsc});
}

void BasicInputs(ShotHost& h) {
  h.Menu('E');
  h.Type("02010", {kKeyEnter});
  h.Shot("basicos", {"Insumos Basicos", "GRUPO            : Materiales", "Codigo   (#####)      : 02010"});
  h.Type("", {kKeyEsc});
}

void Analyses(ShotHost& h) {
  h.Menu('F');
  h.Type("030010", {kKeyEnter});
  h.Shot("unitarios", {"Analisis Unitarios", "Codigo : 030010", "MANO DE OBRA"});
  h.Type("", {kKeyEsc});
}

void Subcontracts(ShotHost& h) {
  h.Menu('G');
  h.Type("01010", {kKeyEnter});
  h.Shot("subcontratos", {"Analisis de Subcontratos", "ENTRADA POR         : Porcentajes"});
  h.Type("", {kKeyEsc});
}

void Budget(ShotHost& h) {
  h.Menu('H');
  h.Type("01010", {kKeyEnter});
  h.Shot("presupuesto", {"Presupuesto de Obra", "Codigo Pres. (#####)  : 01010", "<Por definir>"});
  h.Type("", {kKeyEsc});
}

// A quantity of work cleared to zero is what the review reports; the
// error review leads to the item, where the quantity is typed back, and
// the calculation then prices the budget.
void Calculation(ShotHost& h) {
  h.Menu('H');
  h.Type("01010", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyF11, kKeyEnter, kKeyEsc});
  h.QueueStep([&h] {
    h.AnswerBox(BoxAnswer::Yes);  // "... Hay 1 Errores ... Desea revisarlos ahora ?"
    PushCommand('I');
  });
  h.Shot("revision-errores", {"REVISION DE ERRORES: 1", "CtrlAvPag: error siguiente"});
  h.Type("", {kKeyCtrlPgDn});
  h.Shot("revision-item", {"Cantidad de Obra"});
  // From the item's code down to its quantity, typed again.
  h.Type("", {kKeyEnter, kKeyEnter, kKeyEnter, kKeyF11});
  h.Type("520.97", {kKeyEnter, kKeyEsc});
  h.Type("", {kKeyCtrlEnd});
  h.Menu('I');
  h.Shot("calculo", {"Revision y Calculo", "V/R TOTAL PRESUPUESTO"});
  h.Type("", {kKeyEsc});
}

void Listings(ShotHost& h) {
  h.QueueStep([] {
    Shell().viewMode = true;
    PushCommand('K');
  });
  h.Shot("listados", {"VISTA LISTADOS PARCIALES PRESUPUESTO", "6 - Listado Presupuesto Obra"});
  h.ShotOfViewer("visor", "CAPITULO 01 - PRELIMINARES");
  h.Type("6", {});
  h.Type("", {kKeyEsc});
}

// A staircase of activities: each item of the first chapter runs two or
// three months, one month after the one above it.
void Schedule(ShotHost& h) {
  h.Menu('N');
  h.QueueStep([] {
    for (int item = 0; item < 8; ++item) {
      PushKey(kKeyDown);
      PushKey(kKeyHome);
      for (int month = 0; month < item; ++month) PushKey(kKeyRight);
      for (int month = 0; month < 2 + item % 2; ++month) PushKey(kKeyEnter);
    }
  });
  h.Shot("cronograma", {"CRONOGRAMA DE OBRA", "Capitulos e Items", "01   PRELIMINARES"});
  h.Type("", {kKeyEsc});
}

void Recodification(ShotHost& h) {
  h.Menu('C');
  h.Shot("recodificacion", {"Recodificacion General", "Separacion deseada entre items"});
  h.Type("", {kKeyEsc});
}

// The Obra exported to FIEBDC-3, and the file imported again: the import
// makes a new Rama with its Obra 01.
void Exchange(ShotHost& h, const std::string& scratch) {
  const std::string file = (std::filesystem::path(scratch) / "obra-a01.bc3").string();
  h.ShotOfBox("exportar", "Exportar");
  h.QueueStep([&h, file] {
    h.AnswerFileDialog(HeadlessHost::DialogOutcome::Accept, file);
    PushCommand('Q');
  });
  h.ShotOfBox("importar", "Importar");
  h.QueueStep([&h, file] {
    h.AnswerFileDialog(HeadlessHost::DialogOutcome::Accept, file);
    h.AnswerBox(BoxAnswer::Yes);  // "Se importara ... Desea continuar ?"
    PushCommand('R');
  });
  h.Expect({"RAMA : [A]"});
}

void Quit(ShotHost& h) {
  h.QueueStep([&h] {
    h.AnswerBox(BoxAnswer::Yes);  // "Desea abandonar ahora ?"
    PushKey(kKeyAltX);
  });
}

}  // namespace

void QueueManualSessions(ShotHost& host, const std::string& scratch) {
  Selection(host);
  GeneralData(host);
  BasicInputs(host);
  Analyses(host);
  Subcontracts(host);
  Budget(host);
  Calculation(host);
  Listings(host);
  Schedule(host);
  Recodification(host);
  Exchange(host, scratch);
  Quit(host);
}

}  // namespace vantu::manual
