// Command R in a session with a set open: the chosen file becomes a new
// Rama beside it, and the set that was open is open again afterwards, as
// the selection screen leaves it.
#include <gtest/gtest.h>

#include <fstream>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "exchange/import_module.h"
#include "records/record_ops_fixture.h"
#include "selection/selection_sets.h"
#include "session/shell_state.h"

namespace vantu {
namespace {

using Outcome = HeadlessHost::DialogOutcome;

class ImportSessionTest : public test::SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    InstallSelection();
    InstallExchange();
    dataset::DatasetShape shape = SmallShape();
    shape.calculated = true;
    dataset::GenerateDataset(shape);
    Select("A", "01");
  }
  void Select(const std::string& rama, const std::string& obra) {
    selection::ChangeDataDirectory(dataDir.string());
    Selection().RamaCode = rama;
    selection::OpenRama();
    Selection().ObraCode = obra;
    selection::FinishSelection();
  }
  std::filesystem::path File(const std::string& records) {
    std::ofstream(root / "base.bc3", std::ios::binary)
        << "~V|yo|FIEBDC-3/2016|prueba|Base importada|ANSI||2|\r\n"
        << records;
    return root / "base.bc3";
  }
};

TEST_F(ImportSessionTest, TheNewRamaIsWrittenAndTheOpenSetStaysOpen) {
  const auto budget = WholeFile("Apr06dat.A01");
  session.AnswerFileDialog(
      Outcome::Accept,
      File("~C|R##||Obra importada|0||0|\r\n~C|C1#||Capitulo|0||0|\r\n~C|MO|h|Oficial|20||1|\r\n"
           "~C|AN|m2|Muro|40||0|\r\n~D|R##|C1#\\1\\1\\|\r\n~D|C1#|AN\\1\\3\\|\r\n"
           "~D|AN|MO\\1\\2\\|\r\n")
          .string());
  session.AnswerBox(BoxAnswer::Yes);  // "Desea continuar ?"
  session.AnswerBox(BoxAnswer::Ok);
  RunCommand('R');
  ASSERT_EQ(session.Boxes().size(), 2u);
  EXPECT_EQ(session.Boxes()[1].text.rfind("Importado en la Rama B, Obra 01.", 0), 0u)
      << session.Boxes()[1].text;
  EXPECT_TRUE(Selection().RamaOpen);
  EXPECT_EQ(Selection().RamaCode, "A");
  EXPECT_EQ(Selection().ObraCode, "01");
  EXPECT_TRUE(Shell().obraSelected);
  EXPECT_EQ(Area(kAreaGeneral).Extension, "A");
  EXPECT_EQ(Area(kAreaBudget).Extension, "A01");
  EXPECT_TRUE(Area(kAreaBudget).Data.isOpen);
  EXPECT_EQ(WholeFile("Apr06dat.A01"), budget);

  // The new set opens as any other.
  selection::CloseSelection();
  Select("B", "01");
  EXPECT_TRUE(Selection().RamaOpen);
  EXPECT_EQ(Get(Read<ObraHeader>(kAreaBudget, 0), obra_header::ObraName), "Obra importada");
}

// A .bc3 the program was opened with: no file dialog, the same question,
// the same import.
TEST_F(ImportSessionTest, AFileTheProgramWasOpenedWithIsImportedWithoutTheDialog) {
  const auto file = File("~C|R##||Obra abierta|0||0|\r\n~C|C1#||Capitulo|0||0|\r\n"
                         "~C|MO|h|Oficial|20||1|\r\n~D|R##|C1#\\1\\1\\|\r\n"
                         "~D|C1#|MO\\1\\3\\|\r\n");
  session.AnswerBox(BoxAnswer::No);  // "Desea continuar ?" the first time
  ImportFile(file.string());
  EXPECT_TRUE(session.FileDialogs().empty());
  ASSERT_EQ(session.Boxes().size(), 1u);
  EXPECT_NE(session.Boxes()[0].text.find("Se importara base.bc3 en la Rama B"), std::string::npos)
      << session.Boxes()[0].text;
  EXPECT_FALSE(std::filesystem::exists(dataDir / "Apr01dat.B")) << "a No writes nothing";

  session.AnswerBox(BoxAnswer::Yes);
  session.AnswerBox(BoxAnswer::Ok);
  ImportFile(file.string());
  ASSERT_EQ(session.Boxes().size(), 3u);
  EXPECT_EQ(session.Boxes()[2].text.rfind("Importado en la Rama B, Obra 01.", 0), 0u)
      << session.Boxes()[2].text;
  EXPECT_TRUE(session.FileDialogs().empty());
  EXPECT_EQ(Selection().RamaCode, "A");
}

}  // namespace
}  // namespace vantu
