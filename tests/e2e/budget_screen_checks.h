#pragma once
// Screen dumps checked against the screens' own layout: the calculation
// window's phases and steps, and the budget screen's fields and buttons.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/headless/headless_host.h"

namespace vantu::test {

// The calculation window's phases and steps on their rows: each step's
// label from window column 3, a blank and dots up to 18 characters.
inline void CheckTheCalculationWindow() {
  constexpr int kTop = 3, kLeft = 11;  // the frame's screen row and column
  EXPECT_NE(ScreenRow(kTop).find(" Revision y Calculo "), std::string::npos);
  const struct {
    int row;
    const char* text;
    bool step;
  } lines[] = {
      {3, "<<< REVISION DEL CONTENIDO >>>", false},
      {4, "Datos Generales", true},
      {5, "Basicos", true},
      {6, "Analisis Unitario", true},
      {7, "Subcontratos", true},
      {8, "Presupuesto", true},
      {10, "<<< REVISION CRUZADA >>>", false},
      {11, "Analisis Unitario", true},
      {12, "Presupuesto", true},
      {14, "<<< CALCULO >>>", false},
      {15, "Analisis Unitario", true},
      {16, "Subcontratos", true},
      {17, "Presupuesto", true},
  };
  for (const auto& l : lines) {
    const std::string row = ScreenRow(kTop + l.row);
    if (!l.step) {
      EXPECT_NE(row.find(l.text), std::string::npos) << row;
      continue;
    }
    const std::string label =
        std::string(l.text) + " " + std::string(17 - std::strlen(l.text), '.');
    EXPECT_EQ(row.substr(kLeft + 2, label.size()), label) << "window row " << l.row;
  }
}

// The screen dump of the budget against its fields' labels, rows and
// columns, and the two buttons of an item priced by reference.
inline void CheckTheBudgetScreen(const std::vector<std::string>& budgetScreen) {
  ASSERT_EQ(budgetScreen.size(), 25u);
  std::string dump;
  for (const std::string& row : budgetScreen) dump += row + "\n";
  ::testing::Test::RecordProperty("budget_screen", dump);
  SCOPED_TRACE(dump);
  EXPECT_NE(budgetScreen[0].find("Presupuesto de Obra"), std::string::npos);
  const struct {
    int row, column;
    const char* text;
  } cells[] = {
      {8, 2, "DESCRIPCION CAPITULO  : MAMPOSTERIA Y REDES"},
      {10, 2, "Codigo Pres. (#####)  : 02020"},
      {13, 2, "Codigo Item (#####/#) : 01010"},
      {14, 2, "Descripcion Item      : RED ELECTRICA"},
      {15, 2, "Unidad de medida      : UN"},
      {16, 2, "Cantidad de Obra      :"},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(budgetScreen[c.row - 1].substr(c.column - 1, std::string(c.text).size()), c.text)
        << "row " << c.row;
  }
  EXPECT_NE(budgetScreen[15].find("1,00"), std::string::npos) << "the quantity";
  EXPECT_EQ(budgetScreen[11].find("Pliegos"), std::string::npos) << "no tender codes";
  for (const char* button : {"<Por definir>", "Tecla: F8", "Explicacion", "Tecla: CtrlF12"})
    EXPECT_NE(dump.find(button), std::string::npos) << button;
}

}  // namespace vantu::test
