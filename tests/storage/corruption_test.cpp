// Damaged files end in the error box, never in a crash, a hang or a read
// outside the file.
#include <functional>

#include "storage/btree.h"
#include "storage/page_cache.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

constexpr int kLen = 94;
const int kPage = PageLength(5);
constexpr const char* kData = "Apr02dat.A";
constexpr const char* kIndex = "Apr02ixc.A";

class CorruptionTest : public StorageTest {
 public:  // the damage table reaches into the fixture
  using StorageTest::Bytes;

  // A data file of 6 records, 3 and 5 free; an index of `keys` keys (with
  // 100 keys: leaves 1, 2, 4..., root 3).
  void Build(int keys) {
    DataFileState d;
    MakeFile(d, kData, kLen);
    std::vector<uint8_t> rec(kLen, 1);
    int16_t r;
    for (int i = 0; i < 6; ++i) AddRec(d, r, rec.data());
    DeleteRec(d, 3);
    DeleteRec(d, 5);
    CloseFile(d);
    IndexFileState ix;
    MakeIndex(ix, kIndex, 5, false);
    for (int i = 1; i <= keys; ++i) {
      std::string key = Key(i);
      AddKey(ix, static_cast<int16_t>(i), key);
    }
    CloseIndex(ix);
  }
  static std::string Key(int i) {
    char b[8];
    std::snprintf(b, sizeof b, "%05d", i);
    return b;
  }
  uint8_t* Page(int p) { return Bytes(kIndex).data() + p * kPage; }
  uint8_t* Item(int p, int i) { return Page(p) + 3 + (i - 1) * 10; }

  DataFileState d;
  IndexFileState ix;
};

// Walks the whole index in both directions and searches for every key.
void UseIndex(IndexFileState& ix) {
  OpenIndex(ix, kIndex, 5, false);
  int16_t r;
  std::string key;
  do NextKey(ix, r, key);
  while (LastOpOk());
  do PrevKey(ix, r, key);
  while (LastOpOk());
  for (int i = 1; i <= 100; ++i) {
    key = std::to_string(10000 + i).substr(0, 5);
    FindKey(ix, r, key);
  }
  key = "00050";
  DeleteKey(ix, r, key);
  AddKey(ix, 1, key);
}

TEST_F(CorruptionTest, DamagedFilesEndInTheBox) {
  struct Case {
    const char* name;
    std::function<void(CorruptionTest&)> damage;
    std::function<void(CorruptionTest&)> use;
    int16_t status;
  };
  auto openData = [](CorruptionTest& t) { OpenFile(t.d, kData, kLen); };
  auto useIndex = [](CorruptionTest& t) { UseIndex(t.ix); };
  const Case cases[] = {
      {"item count above 32", [](CorruptionTest& t) { t.Page(3)[0] = 33; }, useIndex,
       kStatusBadPage},
      {"item count 255 in a leaf", [](CorruptionTest& t) { t.Page(2)[0] = 255; }, useIndex,
       kStatusBadPage},
      {"child page outside the file",
       [](CorruptionTest& t) { PokeI16(t.Bytes(kIndex), 3 * kPage + 1, 99); }, useIndex,
       kStatusBadPage},
      {"negative child page",
       [](CorruptionTest& t) { PokeI16(t.Bytes(kIndex), 3 * kPage + 1, -4); }, useIndex,
       kStatusBadPage},
      {"root outside the file", [](CorruptionTest& t) { PokeI16(t.Bytes(kIndex), 4, 40); },
       useIndex, kStatusBadPage},
      {"leaf mixing in a child", [](CorruptionTest& t) { t.Item(1, 5)[2] = 2; }, useIndex,
       kStatusBadPage},
      {"key length byte above the key length", [](CorruptionTest& t) { t.Item(1, 3)[4] = 200; },
       useIndex, kStatusBadPage},
      {"page refers to itself", [](CorruptionTest& t) { t.Item(3, 1)[2] = 3; }, useIndex,
       kStatusBadPage},
      {"cycle between two pages",
       [](CorruptionTest& t) {
         // Leaf 2 becomes an inner page whose children are all the root.
         PokeI16(t.Bytes(kIndex), 2 * kPage + 1, 3);
         for (int i = 1; i <= t.Page(2)[0]; ++i) t.Item(2, i)[2] = 3, t.Item(2, i)[3] = 0;
       },
       useIndex, kStatusBadPage},
      {"free chain loop", [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 3 * kLen, 5); }, openData,
       kStatusFreeChain},
      {"free chain outside the file", [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 0, 77); },
       openData, kStatusFreeChain},
      {"free count above the chain", [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 2, 3); },
       openData, kStatusFreeChain},
      {"free count negative", [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 2, -1); }, openData,
       kStatusFreeChain},
      {"free chain into the header",
       [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 3 * kLen, 0); }, openData, kStatusFreeChain},
      {"index free chain loop",
       [](CorruptionTest& t) {
         PokeI16(t.Bytes(kIndex), 0, 2), PokeI16(t.Bytes(kIndex), 2, 1);
         PokeI16(t.Bytes(kIndex), 2 * kPage, 2);
       },
       useIndex, kStatusFreeChain},
      // Bytes after the last whole record are not a record; here the chain
      // leads into the record that was cut.
      {"truncated record", [](CorruptionTest& t) { t.Bytes(kData).resize(5 * kLen + 40); },
       openData, kStatusFreeChain},
      {"truncated page", [](CorruptionTest& t) { t.Bytes(kIndex).resize(4 * kPage - 1); }, useIndex,
       kStatusBadPage},
      {"header cut short", [](CorruptionTest& t) { t.Bytes(kData).resize(5); }, openData,
       kStatusReadError},
      {"free count above the file, found when adding",
       [](CorruptionTest& t) { PokeI16(t.Bytes(kData), 0, -1), PokeI16(t.Bytes(kData), 2, 0); },
       [](CorruptionTest& t) {
         OpenFile(t.d, kData, kLen);
         t.d.FreeCount = 4;  // as a stale header in memory would have it
         int16_t r;
         std::vector<uint8_t> rec(kLen);
         AddRec(t.d, r, rec.data());
       },
       kStatusFreeChain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files = MemoryFiles{};
    ResetScreen();
    ResetStorageEngine();
    Build(100);
    c.damage(*this);
    ExpectFailureBox(c.status, [&] { c.use(*this); });
  }
}

TEST_F(CorruptionTest, SoundFilesPassTheSameUse) {
  Build(100);
  UseIndex(ix);
  CloseIndex(ix);
  OpenFile(d, kData, kLen);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(d.FreeCount, 2);
  EXPECT_EQ(Engine().EngineStatus, 0);
}

TEST_F(CorruptionTest, AFullFileRefusesToGrow) {
  MakeFile(d, kData, 21);
  std::vector<uint8_t> rec(21);
  int16_t r = 0;
  ExpectFailureBox(kStatusFileFull, [&] {
    for (int i = 0; i < kMaxRecordCount; ++i) AddRec(d, r, rec.data());
  });
  EXPECT_EQ(r, kMaxRecordCount - 1);
}

}  // namespace
}  // namespace vantu::test
