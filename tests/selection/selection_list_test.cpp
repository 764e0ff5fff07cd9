// The list of Ramas and Obras: order, row texts, keys, mouse zones and the
// double click; F2 and F3 on the selected entry.
#include <gtest/gtest.h>

#include <map>

#include "platform/file_lock.h"
#include "selection_fixture.h"
#include "storage/index_check.h"
#include "storage/recovery.h"
#include "storage/set_in_use.h"
#include "storage/set_lock.h"

namespace vantu {
namespace {

using test::SelectionTest;
namespace fs = std::filesystem;

class SelectionListTest : public SelectionTest {
 protected:
  // 12 entries: [A] A01 A02 A03 [B] B01 B02 B03 [C] C01 C02 C03.
  void MakeTwelve() {
    for (const char* r : {"C", "A", "B"})
      MakeRama(r, std::string("Rama ") + r,
               {{"01", std::string("OBRA ") + r + "1"},
                {"02", ""},
                {"03",
                 "\xD1"
                 "and\xDA"}});
  }
};

TEST_F(SelectionListTest, RowsShowRamasBeforeTheirObras) {
  MakeTwelve();
  host.QueueStep([] {
    EXPECT_EQ(ListRow(0), "[A] - Rama A" + std::string(33, ' '));
    EXPECT_EQ(ListRow(1), "A01 - obra a1" + std::string(32, '.'));
    EXPECT_EQ(ListRow(2), "A02 - << Obra sin Nombre >>" + std::string(18, '.'));
    EXPECT_EQ(ListRow(3),
              "A03 - \xF1"
              "and\xFA" +
                  std::string(34, '.'));
    EXPECT_EQ(ListRow(4).substr(0, 12), "[B] - Rama B");
    EXPECT_EQ(ListRow(10).substr(0, 3), "C02");
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_EQ(RunSelection(), 0);
  ASSERT_EQ(SetList().entries.size(), 12u);
  EXPECT_EQ(SetList().entries[11].code, "C03");
}

TEST_F(SelectionListTest, KeysAndScrollClicksMoveTheSelection) {
  MakeTwelve();
  struct Step {
    const char* name;
    std::function<void(HeadlessHost&)> act;
    int selected;
    const char* firstRow;
    int beeps;  // beeps counted so far
  };
  const int scrollCol0 = 62, top0 = kSetListTop;
  const Step steps[] = {
      {"Down", [](HeadlessHost& h) { h.TypeKeys({kKeyDown}); }, 1, "[A]", 0},
      {"PageDown", [](HeadlessHost& h) { h.TypeKeys({kKeyPgDn}); }, 11, "A01", 0},
      {"Down at the end beeps", [](HeadlessHost& h) { h.TypeKeys({kKeyDown}); }, 11, "A01", 1},
      {"PageUp", [](HeadlessHost& h) { h.TypeKeys({kKeyPgUp}); }, 0, "[A]", 1},
      {"Up at the top beeps", [](HeadlessHost& h) { h.TypeKeys({kKeyUp}); }, 0, "[A]", 2},
      {"scroll column, bottom row", [&](HeadlessHost& h) { h.Click(scrollCol0, top0 + 10); }, 1,
       "[A]", 2},
      {"scroll column, lower part pages",
       [&](HeadlessHost& h) { h.Click(scrollCol0 + 1, top0 + 7); }, 11, "A01", 2},
      {"scroll column, upper part pages", [&](HeadlessHost& h) { h.Click(scrollCol0, top0 + 2); },
       0, "[A]", 2},
      {"click on a row", [&](HeadlessHost& h) { h.Click(30, top0 + 5); }, 5, "[A]", 2},
  };
  for (const Step& s : steps) {
    s.act(host);
    host.QueueStep([&s, this] {
      SCOPED_TRACE(s.name);
      EXPECT_EQ(SetList().selected, s.selected);
      EXPECT_EQ(ListRow(0).substr(0, 3), s.firstRow);
      EXPECT_EQ(host.BeepCount(), s.beeps);
    });
  }
  host.TypeKeys({kKeyAltX});
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_EQ(RunSelection(), 0);
  EXPECT_TRUE(host.ScriptDone());
}

TEST_F(SelectionListTest, ADoubleClickTakesTheEntryAndAnotherAccepts) {
  MakeTwelve();
  const int row0 = kSetListTop + 6;  // B02
  host.Click(25, row0);
  host.Click(25, row0);
  host.QueueStep([] {
    EXPECT_EQ(ScreenRow(8).substr(27, 1), "B");
    EXPECT_EQ(ScreenRow(9).substr(27, 2), "02");
    EXPECT_EQ(ScreenRow(9).substr(31, 9), "<<<  >>> ");
  });
  host.Click(10, 9);  // the accept field, twice
  host.Click(10, 9);
  EXPECT_EQ(RunSelection(), -1);
  EXPECT_EQ(Area(6).Extension, "B02");
  EXPECT_EQ(Area(2).Extension, "B");
  EXPECT_EQ(Selection().HeaderLine, "OBRA : 02 - << Obra sin Nombre >>");
  EXPECT_EQ(SetList().selected, 6);
  EXPECT_FALSE(Shell().generalDataNext);
}

TEST_F(SelectionListTest, FileManagementWorksOnTheSelectedEntryGroups) {
  MakeRama("A", "Edificios", {{"01", "Torre"}});
  const fs::path other = root / "copia";
  fs::create_directories(other);
  { std::ofstream(other / "Apr01dat.A") << "viejo"; }
  std::string copyReport, deleteReport;
  std::vector<std::string> asked;
  host.TypeKeys({kKeyF2});
  host.AnswerManageFiles([&](FileGroups& g) {
    ASSERT_EQ(g.Count(), 4);
    EXPECT_EQ(g.Name(0), "Archivos de la Rama A");
    EXPECT_EQ(g.Name(1), "Archivos de todas las Obras de Rama A");
    EXPECT_EQ(g.Name(2), "Archivo de la Rama A y de todas sus Obras");
    EXPECT_EQ(g.Name(3), "Todos los Archivos del Directorio");
    EXPECT_EQ(g.Files(0).size(), 8u);  // five data files, three indexes
    EXPECT_EQ(g.Files(1), (std::vector<std::string>{"Apr06dat.A01", "Apr06ixc.A01"}));
    copyReport = g.CopyTo(0, other.string(), false, [&](const std::string& name) {
      asked.push_back(name);
      return false;
    });
    deleteReport = g.Delete(1);
  });
  host.QueueStep([] { EXPECT_EQ(SetList().entries.size(), 1u); });
  host.TypeText("A");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.TypeKeys({kKeyEnter});
  EXPECT_EQ(RunSelection(), -1);
  ASSERT_EQ(host.FilesDialogTitles().size(), 1u);
  EXPECT_EQ(host.FilesDialogTitles()[0], " Copiar, etc. Archivos de RAMA : [A] - Edificios");
  EXPECT_EQ(asked, std::vector<std::string>{"Apr01dat.A"});
  EXPECT_EQ(copyReport, "7 archivos copiados, 1 archivo sin reemplazar");
  EXPECT_EQ(deleteReport, "2 archivos borrados");
  std::ifstream kept(other / "Apr01dat.A");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "viejo");
  EXPECT_EQ(fs::file_size(other / "Apr03dat.A"), fs::file_size(dataDir / "Apr03dat.A"));
  EXPECT_FALSE(Exists("Apr06dat.A01"));
}

TEST_F(SelectionListTest, RegenerationRebuildsTheSelectedSet) {
  MakeRama("A", "Edificios");
  OpenSet("A");
  AddCoded(2, "01");
  AddCoded(2, "01010");
  Area(1).SavedSetSerial = 0;
  CloseSet();
  // An index that lost its keys.
  IndexFileState blank;
  MakeIndex(blank, (dataDir / "Apr02ixc.A").string(), 5, false);
  CloseIndex(blank);
  host.TypeKeys({kKeyF3});
  host.AnswerBox(BoxAnswer::Yes);
  host.TypeText("A");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.TypeKeys({kKeyEnter});
  EXPECT_EQ(RunSelection(), -1);
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].caption, "Regenerar.. RAMA : [A] - Edificios");
  EXPECT_EQ(host.Boxes()[0].text,
            "Desea Regenerar los archivos ?\r\rDespues de terminado el proceso se recomienda\r"
            "recalcular para forzar la revisionde errores");
  std::vector<IndexEntry> keys;
  EXPECT_EQ(CheckIndexIntegrity(Area(2).Index, &keys), "");
  EXPECT_EQ(keys.size(), 2u);
  for (int n = 1; n <= 5; ++n) EXPECT_EQ(Area(n).SavedSetSerial, 1) << n;
}

TEST_F(SelectionListTest, ASetHeldByAnotherProgramIsNeitherManagedNorRegenerated) {
  MakeRama("A", "Edificios", {{"01", "Torre"}});
  std::map<std::string, std::vector<uint8_t>> before;
  for (const auto& e : fs::directory_iterator(dataDir))
    before[e.path().filename().string()] = FileBytes(e.path().filename().string());
  // Another holder: a second open of the lock file is one, even here.
  FileLock other;
  ASSERT_EQ(other.TryTake(SetLockPath(dataDir.string(), "A")), FileLock::Result::kTaken);
  host.TypeKeys({kKeyF2});
  host.TypeKeys({kKeyF3});
  host.AnswerBox(BoxAnswer::Ok);
  host.AnswerBox(BoxAnswer::Yes);
  host.AnswerBox(BoxAnswer::Ok);
  host.QueueStep([] { PushKey(kKeyAltX); });
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_EQ(RunSelection(), 0);  // the program ends from the selection
  EXPECT_TRUE(host.FilesDialogTitles().empty()) << "the file dialog opened on a held set";
  ASSERT_EQ(host.Boxes().size(), 4u);
  for (int i : {0, 2}) {
    EXPECT_EQ(host.Boxes()[i].caption, "Rama en uso");
    EXPECT_EQ(host.Boxes()[i].text.rfind("La RAMA A esta en uso", 0), 0u) << host.Boxes()[i].text;
  }
  for (const auto& [name, bytes] : before) EXPECT_TRUE(FileBytes(name) == bytes) << name;
}

TEST_F(SelectionListTest, ARegenerationThatFailsStopsAfterItsWindow) {
  MakeRama("A", "Edificios", {{"01", "Torre"}});
  fs::rename(dataDir / "Apr06dat.A01", dataDir / "Apr06dat.Z01");
  fs::remove(dataDir / "Apr01dat.A");
  fs::remove(dataDir / "Apr02dat.A");
  std::string shown;
  host.TypeKeys({kKeyF3});
  host.AnswerBox(BoxAnswer::Yes);
  host.QueueStep([&] {
    shown = ScreenText();
    PushKey(kKeyEsc);
  });
  EXPECT_EQ(RunSelection(), 1);
  EXPECT_NE(shown.find("FALLO PROCESO DE RECUPERACION ARCHIVOS"), std::string::npos);
  EXPECT_NE(shown.find("Rama: Z "), std::string::npos);
  EXPECT_NE(shown.find("Obra: 01"), std::string::npos);
  EXPECT_TRUE(ReadInUseFields().directory.empty());
}

}  // namespace
}  // namespace vantu
