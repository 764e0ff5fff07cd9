#pragma once
// A consultant's session from an empty project folder, through the whole
// program: a new Rama and Obra, the general data, basic inputs, analyses,
// a subcontract and a budget typed as a consultant types them, and the
// calculation. Tests build their day from these steps.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "app/menu_commands.h"
#include "console/keys.h"
#include "e2e/budget_result_checks.h"
#include "e2e/budget_screen_checks.h"
#include "e2e/hand_worked_budget.h"
#include "records/budget_records.h"
#include "records/general_record.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/set_in_use.h"
#include "storage/storage_engine.h"
#include "support/headless_fixture.h"

namespace vantu::test {

// The calendar answers with the budget's date; in the preferences dialog
// the consultant unticks "Ajuste al peso (omitir centavos)" and accepts.
class ConsultantHost : public HeadlessHost {
 public:
  std::string PickDate(const std::string&) override { return "20/11/2026"; }
  bool EditPreferences() override {
    Preferences edited = Prefs();
    edited.roundToPeso = false;
    return AcceptPreferences(edited);
  }
  void ShowListing(const std::string& fileName) override {
    std::ifstream in(fileName, std::ios::binary);
    shown.push_back(std::string(std::istreambuf_iterator<char>(in), {}));
  }
  std::vector<std::string> shown;  // the listings the viewer showed
};

class EmptyFolderSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCoreState();
    SetHost(&host);
    savedDir = std::filesystem::current_path();
    project = std::filesystem::path(DocumentsRoot()) / "Vantu";
    std::filesystem::remove_all(project);
    SetConfigurationsAside();
    InstallModules();
    host.Settings()["\\Presupuesto\\sConsultor"] = "Ana";
  }
  void TearDown() override {
    ShellFinalize();
    ClearCommands();
    Hooks() = ShellHooks{};
    std::filesystem::current_path(savedDir);
    ResetCoreState();
    std::filesystem::remove_all(project);
    PutConfigurationsBack();
  }

  // The program starts as a new installation, with the preferences' defaults;
  // the configuration files other runs left are kept aside meanwhile.
  static std::vector<std::filesystem::path> Configurations() {
    std::vector<std::filesystem::path> found;
    for (const auto& e : std::filesystem::directory_iterator(ResolveProgramDir("")))
      if (e.path().filename().string().ends_with("D.Cfg")) found.push_back(e.path());
    return found;
  }
  void SetConfigurationsAside() {
    aside = Configurations();
    for (const std::filesystem::path& p : aside) std::filesystem::rename(p, p.string() + ".aside");
  }
  void PutConfigurationsBack() {
    for (const std::filesystem::path& p : Configurations()) std::filesystem::remove(p);
    for (const std::filesystem::path& p : aside) std::filesystem::rename(p.string() + ".aside", p);
  }

  // One scripted act: text typed, then keys.
  void Type(const std::string& text, std::vector<int> keys = {kKeyEnter}) {
    host.QueueStep([text, keys] {
      for (unsigned char ch : text) PushKey(ch);
      for (int k : keys) PushKey(static_cast<uint8_t>(k));
    });
  }
  // A figure as typed: no trailing zeros.
  static std::string Amount(long double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6Lf", v);
    std::string typed = text;
    typed.erase(typed.find_last_not_of('0') + 1);
    if (typed.back() == '.') typed.pop_back();
    return typed;
  }
  // A menu entry clicked at the main menu.
  void Menu(uint8_t letter) {
    host.QueueStep([letter] {
      EXPECT_TRUE(Shell().atMainMenu) << "menu " << letter << "\n" << ScreenText();
      PushCommand(letter);
    });
  }

  // The set as the program left it on disk, read through the work areas.
  void OpenTheSet() {
    std::vector<uint8_t> buf(1024);
    for (int n = 1; n <= 5; ++n) OpenWorkArea(n, false, buf.data(), "A", kSetRecordLength[n]);
    OpenWorkArea(6, false, buf.data(), "A01", kSetRecordLength[6]);
  }
  // Closed as the program's end closes it, so that the next start finds
  // no run to recover.
  void CloseTheSet() {
    for (int n = 1; n <= 6; ++n) CloseWorkArea(n);
    ClearSetInUse();
  }
  void CheckTheGeneralData();

  // From the empty folder to the budget typed whole: every step below up
  // to Budget, in order.
  void EnterTheWholeBudget() {
    SelectNewRamaAndObra();
    GeneralData();
    BasicInputs();
    Analyses();
    Subcontract();
    Budget();
  }
  // Command F deletes analysis 010020, which budget item 02010 prices, past
  // the warning that the budget uses it.
  void DeleteTheAnalysisTheBudgetUses() {
    Menu('F');
    Type("010020", {kKeyEnter, kKeyUp, kKeyTab});
    host.AnswerBox(BoxAnswer::No);   // "Desea conocer ahora donde se utiliza ?"
    host.AnswerBox(BoxAnswer::Yes);  // "Confirma la Eliminacion ?"
    host.QueueStep([] { PushKey(kKeyEsc); });
  }
  // Alt+X and Sí end the scripted run; the whole script must have been used.
  void Quit() {
    host.QueueStep([] { PushKey(kKeyAltX); });
    host.AnswerBox(BoxAnswer::Yes);
    try {
      RunMain("vantu");
    } catch (...) {
      ADD_FAILURE() << "the session stopped early; the screen:\n" << ScreenText();
      throw;
    }
    EXPECT_TRUE(host.ScriptDone());
  }
  void SelectNewRamaAndObra();
  void GeneralData();
  void BasicInputs();
  void Analyses();
  void Subcontract();
  void Budget();
  void Calculate(const char* totalText, bool onlyTheBudget = false);
  void ShowTheBudgetScreen();
  void LowerTheIva();
  void ViewTheWorkBudget();

  ConsultantHost host;
  Figures f;
  std::filesystem::path savedDir, project;
  std::vector<std::filesystem::path> aside;
  std::vector<std::string> budgetScreen;
};

// The initial selection on an empty folder: Rama A and Obra 01 are new.
inline void EmptyFolderSession::SelectNewRamaAndObra() {
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("SELECCION INICIAL"));
    EXPECT_TRUE(ScreenContains("Consultor: Ana"));
  });
  Type("A");
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("<<< ... Rama nueva ... >>>")) << ScreenText();
    for (unsigned char ch : std::string("01")) PushKey(ch);
    PushKey(kKeyEnter);
  });
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("<<< ... Obra nueva ... >>>")) << ScreenText();
    PushKey(kKeyEnter);  // the accept field
  });
}

// Command D follows a new Rama by itself: names, the calendar's date, AIU
// on every item, IVA and three adjustment factors.
inline void EmptyFolderSession::GeneralData() {
  host.QueueStep(
      [] { EXPECT_NE(ScreenRow(1).find("Datos Generales"), std::string::npos) << ScreenText(); });
  Type("EDIFICACIONES");
  Type("CASA CAMPESTRE");
  Type("CONTRATO 15-2026");  // the date field then opens the calendar
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(8).find("20/11/26"), std::string::npos) << ScreenRow(8);
    PushKey(kKeyEnter);  // the AIU mode's list
  });
  Type("", {kKeyEnter});  // "Cada Item"
  for (long double pct : {f.admin, f.imprevistos, f.utilidad, f.iva}) Type(Amount(pct));
  Type(Amount(f.fEquipos));
  Type(Amount(f.fMateriales));
  Type("");  // transport stays 1.00
  Type(Amount(f.fManoDeObra));
  Type("");
  Type("");  // the last field ends the command
}

// Command E: three chapters with their groups and one input in each.
inline void EmptyFolderSession::BasicInputs() {
  Menu('E');
  Type("", {kKeyEnter});  // the offered chapter 01
  Type("EQUIPOS", {kKeyEnter, kKeyEnter, kKeyEnter});
  Type("01010");
  Type("MEZCLADORA", {kKeyEnter, 'D', 'I', 'A', kKeyEnter});
  Type(Amount(f.mezcladora));
  Type("02");
  Type("MATERIALES", {kKeyEnter, kKeyEnter, kKeyDown, kKeyEnter});
  Type("02010");
  Type("CEMENTO GRIS", {kKeyEnter, 'B', 'U', 'L', 'T', 'O', kKeyEnter});
  Type(Amount(f.cemento));
  Type("04");
  Type("MANO DE OBRA", {kKeyEnter, kKeyEnter, kKeyDown, kKeyDown, kKeyDown, kKeyEnter});
  Type("04010");
  Type("OFICIAL", {kKeyEnter, 'H', 'O', 'R', 'A', kKeyEnter});
  Type(Amount(f.oficial));
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(1).find("6 Codigos En Uso"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
}

// Command F twice: a chapter and analysis 010010, then 010020 with a
// global scaffold and 010010 nested in its materials.
inline void EmptyFolderSession::Analyses() {
  Menu('F');
  Type("", {kKeyEnter});  // the offered chapter 01
  Type("ESTRUCTURAS");
  Type("010010");
  Type("CONCRETO 3000 PSI", {kKeyEnter, 'M', '3', kKeyEnter});
  Type(Amount(f.a1Tools));
  Type(Amount(f.a1Waste));
  Type("01010");
  Type(Amount(f.a1Mixer), {kKeyEnter, kKeyDown});
  Type("02010");
  Type(Amount(f.a1Cement), {kKeyEnter, kKeyDown, kKeyDown});
  Type("04010");
  Type(Amount(f.a1Labour));
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("MEZCLADORA")) << ScreenText();
    EXPECT_TRUE(ScreenContains("OFICIAL"));
    PushKey(kKeyEsc);
  });
  Menu('F');
  Type("010020");
  Type("MURO EN BLOQUE", {kKeyEnter, 'M', '2', kKeyEnter});
  Type(Amount(f.a2Tools));
  Type(Amount(f.a2Waste));
  Type("00000");
  Type("ANDAMIO");
  Type(Amount(f.a2Scaffold), {kKeyEnter, kKeyDown});
  Type("02010");
  Type(Amount(f.a2Cement));
  Type("010010");
  Type(Amount(f.a2Nested), {kKeyEnter, kKeyDown, kKeyDown});
  Type("04010");
  Type(Amount(f.a2Labour));
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("CONCRETO 3000 PSI")) << ScreenText();
    EXPECT_TRUE(ScreenContains("ANDAMIO"));
    PushKey(kKeyEsc);
  });
}

// Command G: a chapter entered by values and one subcontract.
inline void EmptyFolderSession::Subcontract() {
  Menu('G');
  Type("", {kKeyEnter});                                               // the offered chapter 01
  Type("INSTALACIONES", {kKeyEnter, kKeyEnter, kKeyDown, kKeyEnter});  // "Valores"
  Type("01010");
  Type("RED ELECTRICA", {kKeyEnter, 'U', 'N', kKeyEnter});
  Type(Amount(f.sEquipos));
  Type(Amount(f.sMateriales));
  Type("");  // no transport
  Type(Amount(f.sManoDeObra));
  Type(Amount(f.sDirect));
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(14).find("Equipos       ( $ ) :"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
}

// Command H: two chapters, items priced by each analysis, by the
// subcontract and by a global amount.
inline void EmptyFolderSession::Budget() {
  Menu('H');
  Type("", {kKeyEnter});  // the offered chapter 01
  Type("CIMENTACION");
  Type("01010");
  Type("010010", {kKeyEnter, kKeyEnter});
  Type(Amount(f.q1));
  Type("02");
  Type("MAMPOSTERIA Y REDES");
  Type("02010");
  Type("010020", {kKeyEnter, kKeyEnter});
  Type(Amount(f.q2));
  Type("02020");
  Type("01010", {kKeyEnter, kKeyEnter});
  Type(Amount(f.q3));
  Type("02030");
  Type("00000");
  Type("ASEO FINAL DE OBRA", {kKeyEnter, kKeyEnter});
  Type(Amount(f.global));
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(16).find("Precio Global         :"), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
}

// Command I prices everything, or only the budget after changes of the
// budget alone; the window shows the hand-worked total.
inline void EmptyFolderSession::Calculate(const char* totalText, bool onlyTheBudget) {
  Menu('I');
  host.QueueStep([totalText, onlyTheBudget] {
    CheckTheCalculationWindow();
    // Window rows 15 and 17, below the frame's top on screen row 3.
    EXPECT_EQ(ScreenRow(18).find("no requiere proceso") != std::string::npos, onlyTheBudget)
        << ScreenText();
    EXPECT_NE(ScreenRow(20).find("procesando"), std::string::npos) << ScreenText();
    EXPECT_NE(ScreenRow(22).find(totalText), std::string::npos) << ScreenText();
    PushKey(kKeyEsc);
  });
}

// Command H again on the subcontracted item: the screen as the consultant
// sees it after the calculation.
inline void EmptyFolderSession::ShowTheBudgetScreen() {
  Menu('H');
  Type("02020");
  host.QueueStep([this] {
    for (int row = 1; row <= 25; ++row) budgetScreen.push_back(ScreenRow(row));
    PushKey(kKeyEsc);
  });
}

// Command D again: down to the IVA, passing the budget date's calendar,
// and 16 in place of 19. Every price is calculated again.
inline void EmptyFolderSession::LowerTheIva() {
  Menu('D');
  Type("", {kKeyDown, kKeyDown, kKeyDown});  // to the date, which moves on to the AIU mode
  host.QueueStep([] {
    EXPECT_NE(ScreenRow(8).find("20/11/26"), std::string::npos) << ScreenRow(8);
    for (int k = 0; k < 4; ++k) PushKey(kKeyDown);
  });
  host.QueueStep([this] {
    f.iva = 16;  // the hand calculation of the later checks follows the change
    EXPECT_NE(ScreenRow(14).find("IVA (aplicable a la Utilidad) (%) : 19.00"), std::string::npos)
        << ScreenText();
    for (unsigned char ch : Amount(f.iva)) PushKey(ch);
    PushKey(kKeyEnter);
    PushKey(kKeyEsc);
  });
}

// Ver, the partial budget listings, the work budget: the viewer shows it.
inline void EmptyFolderSession::ViewTheWorkBudget() {
  host.QueueStep([] {
    Shell().viewMode = true;  // what the Ver menu's entry sets
    PushCommand('K');
  });
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("VISTA LISTADOS PARCIALES PRESUPUESTO")) << ScreenText();
    // The prompt stands whole inside the menu's window (columns 20 to 61),
    // the caret after it.
    const std::string prompt = "Opcion : ";
    for (int row = 1; row <= 25; ++row) {
      const size_t at = ScreenRow(row).find(prompt);
      if (at == std::string::npos) continue;
      EXPECT_GT(at, 19u) << ScreenRow(row);
      EXPECT_LT(at + prompt.size(), 61u) << ScreenRow(row);
      EXPECT_EQ(Screen().left + WhereX() - 1, static_cast<int>(at + prompt.size()) + 1);
      EXPECT_EQ(Screen().top + WhereY() - 1, row);
    }
    EXPECT_TRUE(ScreenContains(prompt)) << ScreenText();
    PushKey('6');
  });
  host.QueueStep([] { PushKey(kKeyEsc); });
}

// What command D wrote, as typed.
inline void EmptyFolderSession::CheckTheGeneralData() {
  const GeneralDataRecord g = ReadGeneral();
  EXPECT_EQ(Get(g, general::RamaName), "EDIFICACIONES");
  EXPECT_EQ(Get(g, general::AiuPerItem), f.admin + f.imprevistos + f.utilidad);
  EXPECT_EQ(Get(g, general::FactorMateriales), f.fMateriales);
  EXPECT_EQ(Get(g, general::IvaPct), f.iva);
  const ObraHeader obra = ReadObraHeader();
  EXPECT_EQ(Get(obra, obra_header::ObraName), "CASA CAMPESTRE");
  EXPECT_EQ(Get(obra, obra_header::ObraReference), "CONTRATO 15-2026");
  EXPECT_EQ(Get(obra, obra_header::BudgetDate), "20/11/26");
}

}  // namespace vantu::test
