// Command Q over the scripted host: the save dialog, the format chosen by
// the file's type, the offer to calculate first, and what is shown.
#include "exchange/export_module.h"

#include <gtest/gtest.h>

#include <set>

#include "exchange_fixture.h"
#include "platform/save_dialog.h"

namespace vantu::test {
namespace {

using Outcome = HeadlessHost::DialogOutcome;

class ExportModuleTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    Selection().RamaOpen = true;
  }
  static std::set<std::string> Entries(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(e.path().string());
    return names;
  }
  std::string Contents(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
};

TEST_F(ExportModuleTest, TheFileTypeChosenDecidesTheFormat) {
  OpenCalculatedSet(kExportShapes[0]);
  const struct {
    const char* chosen;
    const char* written;  // the file whose start is checked
    const char* starts;
    const char* shown;  // where the message says it went
  } cases[] = {
      {"obra.bc3", "obra.bc3", "~V|", "obra.bc3"},
      {"sin_tipo", "sin_tipo.bc3", "~V|", "sin_tipo.bc3"},
      {"libro.XLSX", "libro.XLSX", "PK", "libro.XLSX"},
      {"tablas.csv", "tablas/presupuesto.csv", "Capitulo;Item;", "tablas"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    host.AnswerFileDialog(Outcome::Accept, (root / c.chosen).string());
    host.AnswerBox(BoxAnswer::Ok);
    const size_t boxes = host.Boxes().size();
    RunExport();
    EXPECT_EQ(Contents(root / c.written).rfind(c.starts, 0), 0u);
    ASSERT_EQ(host.Boxes().size(), boxes + 1);
    EXPECT_EQ(host.Boxes().back().text, "Exportado en " + (root / c.shown).string());
    EXPECT_EQ(host.Boxes().back().icon, BoxIcon::Information);
  }
  ASSERT_FALSE(host.FileDialogs().empty());
  EXPECT_EQ(host.FileDialogs().back().options, kFileDialogSave);
  EXPECT_EQ(host.FileDialogs().back().filter, kExportFilter);
  EXPECT_EQ(host.FileDialogs().back().initialDir, Selection().DataDirectory);
}

TEST_F(ExportModuleTest, CancelledOrRefusedWritesNothing) {
  OpenCalculatedSet(kExportShapes[0]);
  host.AnswerFileDialog(Outcome::Cancel);
  RunExport();
  EXPECT_TRUE(host.Boxes().empty());
  CloseSet();
  // Not calculated: the offer to calculate is declined, no dialog follows.
  OpenCalculatedSet(kExportShapes[0], false);
  const auto before = Entries(root);
  host.AnswerBox(BoxAnswer::No);
  RunExport();
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_NE(host.Boxes()[0].text.find("Desea calcular ahora"), std::string::npos);
  EXPECT_EQ(host.FileDialogs().size(), 1u) << "only the cancelled one";
  EXPECT_EQ(Entries(root), before);
}

TEST_F(ExportModuleTest, AFailedWriteIsShownWithTheFileAndReason) {
  OpenCalculatedSet(kExportShapes[0]);
  const std::string path = (root / "no" / "obra.bc3").string();
  host.AnswerFileDialog(Outcome::Accept, path);
  host.AnswerBox(BoxAnswer::Ok);
  RunExport();
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].icon, BoxIcon::Error);
  EXPECT_NE(host.Boxes()[0].text.find(path), std::string::npos) << host.Boxes()[0].text;
  EXPECT_FALSE(fs::exists(root / "no"));
}

}  // namespace
}  // namespace vantu::test
