// Command R over the scripted host: the open dialog, the free Rama code,
// the confirmation, the open set closed and opened again, and what is
// shown.
#include "exchange/import_module.h"

#include <gtest/gtest.h>

#include "import_fixture.h"

namespace vantu::test {
namespace {

using Outcome = HeadlessHost::DialogOutcome;

class ImportModuleTest : public ImportTest {
 protected:
  // A open, as the selection leaves it; the steps record what they did.
  void SetUp() override {
    ImportTest::SetUp();
    OpenCalculatedSet(kExportShapes[0]);
    Selection().RamaOpen = true;
  }
  OpenSetSteps Steps() {
    return {[this] {
              closed = true;
              EXPECT_EQ(Area(kAreaGeneral).Extension, "A") << "closed once";
              CloseSet();
              Selection().RamaOpen = false;
            },
            [this](const std::string& rama, const std::string& obra) {
              reopened = rama + obra;
              OpenSet(rama, obra);
              Selection().RamaOpen = true;
            }};
  }
  fs::path SoundFile() {
    return WriteFile(Bc3Of({"C|OBRA##||Obra importada|0||0", "C|C1#||Capitulo|0||0",
                            "C|MO|h|Oficial|20||1", "C|AN|m2|Muro|40||0", "D|OBRA##|C1#\\1\\1\\",
                            "D|C1#|AN\\1\\3\\", "D|AN|MO\\1\\2\\", "M|C1#\\AN|1\\1\\|3|"}));
  }
  bool closed = false;
  std::string reopened;
};

TEST_F(ImportModuleTest, TheChosenFileBecomesTheNextFreeRama) {
  host.AnswerFileDialog(Outcome::Accept, SoundFile().string());
  host.AnswerBox(BoxAnswer::Yes);
  host.AnswerBox(BoxAnswer::Ok);
  RunImport(Steps());
  ASSERT_EQ(host.Boxes().size(), 2u);
  EXPECT_NE(host.Boxes()[0].text.find("en la Rama B, Obra 01"), std::string::npos);
  EXPECT_EQ(host.Boxes()[1].text.rfind("Importado en la Rama B, Obra 01.\rCodigos en " +
                                           (dataDir / "importacion-B01.csv").string(),
                                       0),
            0u)
      << host.Boxes()[1].text;
  EXPECT_NE(
      host.Boxes()[1].text.find("\rel archivo no da precio a su raiz OBRA##: el costo directo "
                                "calculado es 120.00"),
      std::string::npos)
      << "the review is shown: " << host.Boxes()[1].text;
  EXPECT_EQ(host.Boxes()[1].icon, BoxIcon::Information);
  EXPECT_TRUE(fs::exists(dataDir / "Apr01dat.B"));
  EXPECT_TRUE(fs::exists(dataDir / "Apr06dat.B01"));
  EXPECT_TRUE(closed);
  EXPECT_EQ(reopened, "A01");
  ASSERT_FALSE(host.FileDialogs().empty());
  EXPECT_EQ(host.FileDialogs().back().filter, kImportFilter);
  EXPECT_EQ(host.FileDialogs().back().options, 0);
  EXPECT_EQ(FreeRamaCode(dataDir.string()), "C");
}

TEST_F(ImportModuleTest, CancelledDeclinedOrRefusedWritesNothing) {
  const std::set<std::string> before = Entries();
  host.AnswerFileDialog(Outcome::Cancel);
  RunImport(Steps());
  EXPECT_TRUE(host.Boxes().empty());

  host.AnswerFileDialog(Outcome::Accept, SoundFile().string());
  host.AnswerBox(BoxAnswer::No);
  RunImport(Steps());
  EXPECT_EQ(host.Boxes().size(), 1u);
  EXPECT_FALSE(closed) << "declined: the open set stays as it was";

  host.AnswerFileDialog(Outcome::Accept, WriteFile(Bc3Of({"C|X|u|x|1||3"})).string());
  host.AnswerBox(BoxAnswer::Yes);
  host.AnswerBox(BoxAnswer::Ok);
  RunImport(Steps());
  ASSERT_EQ(host.Boxes().size(), 3u);
  EXPECT_EQ(host.Boxes()[2].text.rfind("No se importo:\r", 0), 0u);
  EXPECT_EQ(host.Boxes()[2].icon, BoxIcon::Warning);
  EXPECT_EQ(reopened, "A01") << "the open set is back after a refusal too";
  EXPECT_EQ(Entries(), before);
}

}  // namespace
}  // namespace vantu::test
