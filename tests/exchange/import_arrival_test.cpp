// An import stopped while its files were moved into the data folder: the
// next import of the code, or the next opening of the Rama, finishes the
// moves when they had begun and drops the work folder when they had not.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "import_fixture.h"
#include "selection/selection_sets.h"
#include "storage/set_arrival.h"

namespace vantu::test {
namespace {

std::string OneItemFile() {
  return Bc3Of({"C|MO01|h|Oficial|20||1", "C|AN01|m3|Zapata|160||0", "D|AN01|MO01\\1\\8\\",
                "C|OBRA##||Obra de prueba|0|150324|0", "C|CAP1#||Cimientos|0||0",
                "D|CAP1#|AN01\\1\\12.5\\", "D|OBRA##|CAP1#\\1\\1\\"});
}

class ImportArrivalTest : public ImportTest {
 protected:
  // The set an import of B/02 writes, by name, as it lands in the folder.
  void SetUp() override {
    ImportTest::SetUp();
    file = WriteFile(OneItemFile());
    const std::set<std::string> before = Entries();
    const ImportResult r = Import(file, "B", "02");
    ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
    for (const std::string& name : Entries())
      if (!before.count(name) && name.rfind("Apr0", 0) == 0 && name.rfind("Apr00blq", 0) != 0) {
        order.push_back(name);
        landed[name] = WholeFile(name);
      }
    // The general data moves last, as the import moves it.
    std::stable_partition(order.begin(), order.end(),
                          [](const std::string& n) { return n.rfind("Apr01", 0) != 0; });
    ASSERT_EQ(order.back(), "Apr01dat.B");
  }

  // The set as a stop after `moved` of its moves leaves it.
  fs::path StopAfter(size_t moved, bool listWritten = true) {
    const fs::path work = ArrivalFolder(dataDir.string(), "B") + "1";
    fs::create_directory(work);
    std::string list;
    for (size_t i = 0; i < order.size(); ++i) {
      list += order[i] + "\n";
      if (i >= moved) fs::rename(dataDir / order[i], work / order[i]);
    }
    if (listWritten) std::ofstream(work / "mover.lst", std::ios::binary) << list;
    return work;
  }

  void ExpectWholeSet() {
    for (const auto& [name, bytes] : landed) EXPECT_EQ(WholeFile(name), bytes) << name;
  }

  fs::path file;
  std::vector<std::string> order;
  std::map<std::string, std::vector<uint8_t>> landed;
};

TEST_F(ImportArrivalTest, ANextImportOfTheCodeFinishesTheMovesAfterAStopAtEachOfThem) {
  for (size_t moved = 0; moved < order.size(); ++moved) {
    SCOPED_TRACE(moved);
    const fs::path work = StopAfter(moved);
    const ImportResult r = Import(file, "B", "02");
    // The moves finished, the set is there whole and the code taken.
    EXPECT_NE(r.refused.find("la Rama B ya existe"), std::string::npos) << r.refused;
    EXPECT_NE(r.refused.find("Se completo la importacion interrumpida de la RAMA B"),
              std::string::npos)
        << r.refused;
    EXPECT_FALSE(fs::exists(work));
    ExpectWholeSet();
  }
}

TEST_F(ImportArrivalTest, AWorkFolderWhoseMovesHadNotBegunIsDroppedAndTheImportGoesOn) {
  const fs::path work = StopAfter(0, false);
  const ImportResult r = Import(file, "B", "02");
  ASSERT_TRUE(r.Ok()) << r.refused << r.failure;
  ASSERT_FALSE(r.notes.empty());
  EXPECT_NE(r.notes[0].find("Se descarto la importacion interrumpida"), std::string::npos);
  EXPECT_FALSE(fs::exists(work));
  ExpectWholeSet();
}

TEST_F(ImportArrivalTest, OpeningTheRamaFinishesTheMovesAndSaysSo) {
  const fs::path work = StopAfter(order.size() - 1);  // all but the general data
  const fs::path other = dataDir / ".importacion-C-1";  // another Rama's: not touched
  fs::create_directory(other);
  Selection().DataDirectory = dataDir.string();
  Selection().RamaCode = "B";
  selection::OpenRama();
  EXPECT_FALSE(Selection().RamaIsNew) << "the Rama opens whole, never as a new one";
  EXPECT_EQ(Selection().RamaName, "Rama de prueba");
  ASSERT_FALSE(host.Boxes().empty());
  EXPECT_EQ(host.Boxes().back().caption, "Importacion interrumpida");
  EXPECT_NE(host.Boxes().back().text.find("Se completo la importacion interrumpida"),
            std::string::npos)
      << host.Boxes().back().text;
  EXPECT_FALSE(fs::exists(work));
  EXPECT_TRUE(fs::exists(other));
  CloseSet();
  ExpectWholeSet();
}

}  // namespace
}  // namespace vantu::test
