// Moving, duplicating, recodifying and deleting records of a coded file,
// with every refusal, and the stale schedule.
#include <gtest/gtest.h>

#include <fstream>

#include "record_ops_fixture.h"

namespace vantu {
namespace {

using test::RecordOpsTest;

class RecordOpsKeysTest : public RecordOpsTest {
 protected:
  void SetUp() override {
    RecordOpsTest::SetUp();
    OpenSet("A");
    AddInputs({"01", "01010", "01020", "02", "02010"});
  }
  // Types `text` and Enter into the code field once the program waits.
  void TypeCode(const std::string& text) {
    host.TypeText(text);
    host.TypeKeys({kKeyEnter});
  }
};

TEST_F(RecordOpsKeysTest, PageKeysWalkInKeyOrderAndWrap) {
  Select("02010");
  const char* forward[] = {"01", "01010", "01020", "02", "02010", "01"};
  for (const char* expected : forward) {
    MoveRecord(2, rec.data(), true);
    EXPECT_EQ(Current(), expected);
  }
  MoveRecord(2, rec.data(), false);
  EXPECT_EQ(Current(), "02010");  // PageUp on the first goes to the last
  EXPECT_EQ(Area(2).CurrentKey, "02010");
}

TEST_F(RecordOpsKeysTest, SavingWritesOnlyAChangedRecordOnALeavingKey) {
  Select("01010");
  Set(rec, input::Price, 1234.5L);
  CodedState(2).changed = true;
  Area(2).SavedChangeMarker = 0;
  SaveCurrent(2, rec.data(), kKeyLeft);  // not a leaving key
  EXPECT_EQ(Get(Read<InputRecord>(2, Find(2, "01010")), input::Price), 0.0L);
  SaveCurrent(2, rec.data(), kKeyPgDn);
  const auto stored = Read<InputRecord>(2, Find(2, "01010"));
  EXPECT_EQ(Get(stored, input::Price), 1234.5L);
  EXPECT_EQ(Get(stored, coded::ChangedFlag), 1);
  EXPECT_EQ(Markers(2, "A").first, 1);
  EXPECT_FALSE(CodedState(2).changed);
}

TEST_F(RecordOpsKeysTest, RecodifyingAnItemKeepsItsNumberAndStamp) {
  Select("01010");
  const int16_t r = Area(2).CurrentRecord;
  const long double stamp = Get(rec, coded::RecordStamp);
  TypeCode("01015");
  RecodifyRecord(screen);
  EXPECT_EQ(Find(2, "01010"), -1);
  ExpectReference<InputRecord>(2, "01015", r, stamp);
  EXPECT_EQ(Current(), "01015");
  EXPECT_EQ(Area(2).CurrentRecord, r);
  Entries(2);  // the index stays sound
}

TEST_F(RecordOpsKeysTest, RecodifyingAChapterRekeysItsItems) {
  Select("01");
  const int16_t item = Find(2, "01020");
  TypeCode("05");
  RecodifyRecord(screen);
  EXPECT_EQ(Find(2, "01"), -1);
  EXPECT_EQ(Find(2, "01010"), -1);
  EXPECT_EQ(Find(2, "05020"), item);
  EXPECT_EQ(Get(Read<InputRecord>(2, item), coded::Code), "05020");
  EXPECT_EQ(Current(), "05");
}

TEST_F(RecordOpsKeysTest, NewCodesAreRefusedWithTheirReasons) {
  struct Case {
    const char* name;
    const char* current;
    bool duplicate;
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"copy_of_chapter", "01", true, nullptr, " Los capitulos no son duplicables "},
      {"copy_as_chapter", "01010", true, "03", " Usar codigo completo "},
      {"copy_without_chapter", "01010", true, "05010", " Crear primero 05 "},
      {"copy_onto_used", "01010", true, "02010", "02010 esta usado "},
      {"recode_other_chapter", "01010", false, "02030", " Iniciar nuevo codigo en 01 "},
      {"recode_as_chapter", "01010", false, "03", " Usar codigo completo "},
      {"recode_onto_used", "01010", false, "020", "01020 esta usado "},
      {"recode_chapter_as_item", "01", false, "01030", " Usar codigo de capitulo "},
      {"recode_chapter_onto_used", "01", false, "02", "02 esta usado "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.current);
    if (c.typed) {
      TypeCode(c.typed);
      host.QueueStep([&] {
        EXPECT_NE(Row25().find(c.message), std::string::npos) << Row25();
        PushKey(kKeyEsc);
      });
    }
    const int used = UsedRecordCount(Area(2).Data);
    if (c.duplicate)
      DuplicateRecord(screen);
    else
      RecodifyRecord(screen);
    if (!c.typed) {
      EXPECT_NE(Row25().find(c.message), std::string::npos) << Row25();
    }
    EXPECT_TRUE(host.ScriptDone());
    EXPECT_EQ(UsedRecordCount(Area(2).Data), used);
    EXPECT_EQ(Current(), c.current);
    EXPECT_GT(Find(2, c.current), 0);
  }
}

TEST_F(RecordOpsKeysTest, DuplicateCopiesEveryFieldUnderANewStamp) {
  Select("01010");
  Set(rec, input::Description, "CEMENTO GRIS");
  Set(rec, input::Price, 30500.0L);
  CodedState(2).changed = true;
  SaveCurrent(2, rec.data(), kKeyF5);
  const long double stamp = Get(rec, coded::RecordStamp);
  TypeCode("030");
  DuplicateRecord(screen);
  const int16_t copy = Find(2, "01030");
  ASSERT_GT(copy, 0);
  const auto c = Read<InputRecord>(2, copy);
  EXPECT_EQ(Get(c, input::Description), "CEMENTO GRIS");
  EXPECT_EQ(Get(c, input::Price), 30500.0L);
  EXPECT_GT(Get(c, coded::RecordStamp), stamp);
  EXPECT_EQ(Area(2).CurrentRecord, copy);
}

TEST_F(RecordOpsKeysTest, AChapterGoesOnlyAfterItsItems) {
  Select("02");
  screen.redraw = nullptr;
  DeleteRecord(screen);
  EXPECT_NE(Row25().find("Antes de suprimir este Capitulo debe eliminar todos sus Items"),
            std::string::npos);
  EXPECT_GT(Find(2, "02"), 0);
  Select("02010");
  host.AnswerBox(BoxAnswer::Yes);
  DeleteRecord(screen);
  EXPECT_EQ(Find(2, "02010"), -1);
  EXPECT_EQ(Current(), "02");  // the previous key becomes current
  host.AnswerBox(BoxAnswer::No);
  DeleteRecord(screen);
  EXPECT_GT(Find(2, "02"), 0);  // No keeps it
  host.AnswerBox(BoxAnswer::Yes);
  DeleteRecord(screen);
  EXPECT_EQ(Find(2, "02"), -1);
  ASSERT_EQ(host.Boxes().size(), 3u);
  EXPECT_EQ(host.Boxes()[0].text, "Confirma la Eliminacion ?");
  EXPECT_EQ(host.Boxes()[0].caption, "Confirmacion");
  Entries(2);
}

TEST_F(RecordOpsKeysTest, DeletingTheFirstRecordLandsOnTheNextOne) {
  screen.redraw = nullptr;
  for (const char* c : {"01010", "01020", "01"}) {
    Select(c);
    host.AnswerBox(BoxAnswer::Yes);
    DeleteRecord(screen);
  }
  EXPECT_EQ(Find(2, "01"), -1);
  EXPECT_EQ(Current(), "02");
}

TEST_F(RecordOpsKeysTest, StructureChangesOfTheBudgetMarkTheScheduleStale) {
  CloseSet();
  OpenSet("A", "01");
  Selection().RamaCode = "A";
  Selection().ObraCode = "01";
  struct Case {
    const char* name;
    size_t size;
    int16_t expected;
  };
  const Case cases[] = {{"schedule", 61000, -1}, {"empty_file", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      std::ofstream out(dataDir / "Apr06cro.A01", std::ios::binary | std::ios::trunc);
      std::string bytes(c.size, static_cast<char>(146));
      if (c.size > 8) bytes[6] = 3, bytes[7] = 0;
      out << bytes;
    }
    RecordStructureChanged(6);
    const auto bytes = FileBytes("Apr06cro.A01");
    ASSERT_EQ(bytes.size(), c.size);
    if (c.size > 8) {
      EXPECT_EQ(GetI16(bytes.data() + 6), c.expected);
    }
    EXPECT_EQ(Markers(6, "A01").first, 1);
  }
}

}  // namespace
}  // namespace vantu
