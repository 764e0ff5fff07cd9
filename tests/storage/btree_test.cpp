#include "storage/btree.h"

#include <algorithm>
#include <functional>
#include <random>

#include "storage/index_check.h"
#include "storage/page_cache.h"
#include "storage_fixture.h"

namespace vantu::test {
namespace {

class BTreeTest : public StorageTest {
 protected:
  void Make(int keyLength, bool duplicates) {
    MakeIndex(ix, "Apr02ixc.A", keyLength, duplicates);
    ASSERT_TRUE(LastOpOk());
  }
  void Add(const std::string& k, int16_t r) {
    std::string key = k;
    AddKey(ix, r, key);
  }
  static std::string Code(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%05d", n);
    return buf;
  }
  std::vector<IndexEntry> Entries() {
    std::vector<IndexEntry> e;
    EXPECT_EQ(CheckIndexIntegrity(ix, &e), "");
    return e;
  }

  // The record numbers of a walk with NextKey from the first key.
  std::vector<int16_t> Stepped() {
    std::vector<int16_t> out;
    ResetKeyPosition(ix);
    for (NextKey(ix, r, key); LastOpOk(); NextKey(ix, r, key)) out.push_back(r);
    return out;
  }

  IndexFileState ix;
  int16_t r = 0;
  std::string key;
};

TEST_F(BTreeTest, FirstKeyWritesHeaderAndLeafPageByteForByte) {
  Make(5, false);
  Add("01001", 7);
  Add("00500", 3);
  CloseIndex(ix);

  const int len = PageLength(5);
  ASSERT_EQ(len, 323);
  std::vector<uint8_t> expected(2 * len, 0);
  PokeI16(expected, 0, -1);
  PokeI16(expected, 4, 1);  // RootPage
  PokeI16(expected, 6, len);
  uint8_t* page = expected.data() + len;
  page[0] = 2;  // two items, LeftPage 0
  const struct {
    const char* key;
    int16_t record;
  } items[] = {{"00500", 3}, {"01001", 7}};
  for (int i = 0; i < 2; ++i) {
    const size_t at = len + 3 + i * 10;
    PokeI16(expected, at, items[i].record);
    expected[at + 4] = 5;
    std::memcpy(&expected[at + 5], items[i].key, 5);
  }
  EXPECT_EQ(Bytes("Apr02ixc.A"), expected);
}

TEST_F(BTreeTest, EmptyIndexFindsNothing) {
  Make(5, false);
  const std::function<void()> calls[] = {
      [&] { FindKey(ix, r, key = "00001"); }, [&] { SearchKey(ix, r, key = ""); },
      [&] { NextKey(ix, r, key); }, [&] { PrevKey(ix, r, key); }};
  for (const auto& call : calls) {
    call();
    EXPECT_FALSE(LastOpOk());
  }
  key = "00001";
  DeleteKey(ix, r, key);
  EXPECT_FALSE(LastOpOk());
  Add("00001", 1);
  EXPECT_EQ(ix.Root, 1);
}

TEST_F(BTreeTest, ThirtyThirdKeySplitsTheRootSixteenAndSixteen) {
  Make(5, false);
  for (int i = 1; i <= 33; ++i) Add(Code(i), static_cast<int16_t>(i));
  CachedPage root = *GetPage(ix, ix.Root);
  ASSERT_EQ(root.Count(), 1);
  EXPECT_EQ(root.Key(1), Code(17));
  EXPECT_EQ(GetPage(ix, root.LeftPage())->Count(), 16);
  EXPECT_EQ(GetPage(ix, root.Right(1))->Count(), 16);
  EXPECT_EQ(Entries().size(), 33u);
}

TEST_F(BTreeTest, KeysAreCutInPlaceToTheKeyLength) {
  Make(6, false);
  key = "1234567";
  AddKey(ix, 5, key);
  EXPECT_EQ(key, "123456");
  key = "123456X";
  FindKey(ix, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(key, "123456");
  EXPECT_EQ(r, 5);
}

TEST_F(BTreeTest, DuplicatesOrderedByRecordNumber) {
  Make(5, true);
  Add("00010", 9);
  Add("00010", 4);
  EXPECT_TRUE(LastOpOk());
  Add("00010", 4);
  EXPECT_FALSE(LastOpOk());
  Add("00020", 1);
  key = "00010";
  FindKey(ix, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(r, 4);
  NextKey(ix, r, key);
  EXPECT_EQ(key, "00010");
  EXPECT_EQ(r, 9);
  // A missing key leaves the next greater one in the caller's variable.
  key = "00015";
  FindKey(ix, r, key);
  EXPECT_FALSE(LastOpOk());
  EXPECT_EQ(key, "00020");
  r = 9;
  key = "00010";
  DeleteKey(ix, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(Entries(), (std::vector<IndexEntry>{{"00010", 4}, {"00020", 1}}));
}

// Keys are ordered as unsigned bytes, a prefix before every longer key:
// zero bytes, bytes above 127 and prefixes of every length, enough of them
// for inner pages, with and without duplicates. Every key is found again,
// and a walk gives them in the order of std::string, which compares bytes
// as unsigned.
TEST_F(BTreeTest, KeysOfAnyBytesOrderAsUnsignedBytesWithPrefixesFirst) {
  const std::string bytes("\x00\x01\x7f\x80\xff", 5);
  std::vector<std::string> keys = {""};
  for (size_t i = 0; i < keys.size() && keys.size() < 400; ++i)
    if (keys[i].size() < 6)
      for (char b : bytes) keys.push_back(keys[i] + b);
  std::vector<std::string> order = keys;
  std::shuffle(order.begin(), order.end(), std::mt19937(11));
  for (const bool duplicates : {false, true}) {
    SCOPED_TRACE(duplicates ? "duplicates" : "unique");
    Make(6, duplicates);
    for (size_t i = 0; i < order.size(); ++i) Add(order[i], static_cast<int16_t>(i + 1));
    if (duplicates) Add(order[7], 999);  // after the entry of record 8
    std::vector<std::string> sorted = keys;
    if (duplicates) sorted.push_back(order[7]);
    std::sort(sorted.begin(), sorted.end());
    ResetKeyPosition(ix);
    std::vector<std::string> walked;
    for (NextKey(ix, r, key); LastOpOk(); NextKey(ix, r, key)) walked.push_back(key);
    EXPECT_EQ(walked, sorted);
    for (size_t i = 0; i < order.size(); ++i) {
      key = order[i];
      FindKey(ix, r, key);
      ASSERT_TRUE(LastOpOk()) << i;
      EXPECT_EQ(r, static_cast<int16_t>(i + 1));
    }
    EXPECT_EQ(Entries().size(), sorted.size());
    CloseIndex(ix);
  }
}

// An index held in memory while it is built writes, at close, the very
// bytes the shared cache writes back: keys in random order (splits in the
// middle of pages), deletions that merge pages and give them back to the
// free chain, and additions that take them again.
TEST_F(BTreeTest, AnIndexHeldInMemoryWritesTheBytesOfTheCache) {
  std::vector<std::string> codes;
  for (int i = 0; i < 1500; ++i) codes.push_back(Code(i * 7));
  std::shuffle(codes.begin(), codes.end(), std::mt19937(5));
  auto build = [&](const std::string& name, bool held) {
    HeldPages pages;
    MakeIndex(ix, name, 5, false);
    if (held) HoldIndexInMemory(ix, pages);
    for (size_t i = 0; i < 1000; ++i) Add(codes[i], static_cast<int16_t>(i + 1));
    for (size_t i = 0; i < 700; i += 1) {
      key = codes[i];
      DeleteKey(ix, r, key);
      ASSERT_TRUE(LastOpOk()) << i;
    }
    for (size_t i = 1000; i < codes.size(); ++i) Add(codes[i], static_cast<int16_t>(i + 1));
    EXPECT_EQ(CheckIndexIntegrity(ix), "");
    CloseIndex(ix);
  };
  build("Apr02ixc.A", false);
  build("Apr03ixc.A", true);
  ASSERT_GT(Bytes("Apr02ixc.A").size(), 20u * PageLength(5));
  EXPECT_TRUE(Bytes("Apr02ixc.A") == Bytes("Apr03ixc.A"));
}

TEST_F(BTreeTest, UniqueKeyAddedTwiceLeavesTheIndexUnchanged) {
  Make(5, false);
  Add("00010", 1);
  Add("00010", 2);
  EXPECT_FALSE(LastOpOk());
  EXPECT_EQ(Entries(), (std::vector<IndexEntry>{{"00010", 1}}));
}

TEST_F(BTreeTest, SteppingPastEitherEndResetsThePosition) {
  Make(5, false);
  for (int i = 1; i <= 100; ++i) Add(Code(2 * i), static_cast<int16_t>(i));
  key = Code(200);
  FindKey(ix, r, key);
  NextKey(ix, r, key);
  EXPECT_FALSE(LastOpOk());
  NextKey(ix, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(key, Code(2));
  PrevKey(ix, r, key);
  EXPECT_FALSE(LastOpOk());
  PrevKey(ix, r, key);
  EXPECT_EQ(key, Code(200));
  // SearchKey lands on the first key not below the one asked for.
  key = Code(101);
  SearchKey(ix, r, key);
  EXPECT_TRUE(LastOpOk());
  EXPECT_EQ(key, Code(102));
  PrevKey(ix, r, key);
  EXPECT_EQ(key, Code(100));
  key = Code(201);
  SearchKey(ix, r, key);
  EXPECT_FALSE(LastOpOk());
}

TEST_F(BTreeTest, DeletingEveryKeyFreesEveryPage) {
  Make(5, false);
  const int n = 2000;
  for (int i = 1; i <= n; ++i) Add(Code(i * 7919 % n + 1), static_cast<int16_t>(i));
  FlushIndex(ix);
  const int pages = ix.File.RecordCount - 1;
  ASSERT_GT(pages, 60);
  for (int i = 1; i <= n; ++i) {
    key = Code(i * 13 % n + 1);
    DeleteKey(ix, r, key);
    ASSERT_TRUE(LastOpOk()) << key;
    if (i % 250 == 0) {
      ASSERT_EQ(CheckIndexIntegrity(ix), "");
    }
  }
  EXPECT_EQ(ix.Root, 0);
  EXPECT_EQ(ix.File.FreeCount, pages);
  EXPECT_EQ(CheckIndexIntegrity(ix), "");
  CloseIndex(ix);
  OpenIndex(ix, "Apr02ixc.A", 5, false);
  EXPECT_EQ(ix.Root, 0);
  EXPECT_EQ(ix.File.FreeCount, pages);
}

TEST_F(BTreeTest, PagesOfSeveralIndexesShareTheCache) {
  IndexFileState other;
  Make(5, false);
  MakeIndex(other, "Apr03ixc.A", 6, false);
  for (int i = 1; i <= 600; ++i) {
    Add(Code(i), static_cast<int16_t>(i));
    key = Code(i) + "9";
    AddKey(other, static_cast<int16_t>(i), key);
  }
  CloseIndex(other);
  EXPECT_EQ(Entries().size(), 600u);
  OpenIndex(other, "Apr03ixc.A", 6, false);
  std::vector<IndexEntry> e;
  EXPECT_EQ(CheckIndexIntegrity(other, &e), "");
  ASSERT_EQ(e.size(), 600u);
  EXPECT_EQ(e[599].key, Code(600) + "9");
}

TEST_F(BTreeTest, TheWholeOrderAtOnceIsTheSteppingOrder) {
  Make(5, false);
  std::vector<int16_t> order{7};
  EXPECT_TRUE(RecordsInKeyOrder(ix, order));
  EXPECT_TRUE(order.empty());
  for (int i = 1; i <= 32; ++i) Add(Code(i * 2), static_cast<int16_t>(i));
  FlushIndex(ix);
  Add(Code(1), 33);  // the split's new pages are in the cache only
  ASSERT_LT(Bytes("Apr02ixc.A").size(), static_cast<size_t>(ix.File.RecordCount) * PageLength(5));
  ASSERT_TRUE(RecordsInKeyOrder(ix, order));
  EXPECT_EQ(order.front(), 33);
  EXPECT_EQ(order, Stepped());

  for (int i = 34; i <= 3000; ++i) Add(Code(i * 7919 % 5000 + 100), static_cast<int16_t>(i));
  for (int i = 1; i <= 600; ++i) {
    key = Code(i * 7919 % 5000 + 100);
    DeleteKey(ix, r, key);
  }
  ASSERT_TRUE(RecordsInKeyOrder(ix, order));
  EXPECT_EQ(order.size(), Entries().size());
  EXPECT_EQ(order, Stepped());
  FlushIndex(ix);
  ASSERT_TRUE(RecordsInKeyOrder(ix, order));
  EXPECT_EQ(order, Stepped());

  // The stepping position is forgotten: the next step is the first key.
  NextKey(ix, r, key);
  NextKey(ix, r, key);
  ASSERT_TRUE(RecordsInKeyOrder(ix, order));
  NextKey(ix, r, key);
  EXPECT_EQ(r, order.front());

  HeldPages pages;
  MakeIndex(ix, "Apr03ixc.A", 5, false);
  HoldIndexInMemory(ix, pages);
  Add(Code(1), 1);
  EXPECT_FALSE(RecordsInKeyOrder(ix, order));
  EXPECT_TRUE(order.empty());
}

// Pages that form no sound tree: the walk at once refuses them without the
// error box, and the caller steps through them as before.
TEST_F(BTreeTest, TheWholeOrderAtOnceRefusesDamagedPagesQuietly) {
  Make(5, false);
  for (int i = 1; i <= 100; ++i) Add(Code(i), static_cast<int16_t>(i));
  CloseIndex(ix);  // leaves 1, 2, 4 ..., root 3
  const std::vector<uint8_t> sound = Bytes("Apr02ixc.A");
  const size_t page = PageLength(5);
  const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> damage = {
      {"count above 32", [&](auto& b) { b[2 * page] = 33; }},
      {"leaf reached twice", [&](auto& b) { PokeI16(b, 3 * page + 3 + 2, 1); }},
      {"root refers to itself", [&](auto& b) { PokeI16(b, 3 * page + 1, 3); }},
      {"child outside the file", [&](auto& b) { PokeI16(b, 3 * page + 1, 90); }},
      {"key longer than the index", [&](auto& b) { b[page + 3 + 4] = 9; }},
  };
  for (const auto& [name, poke] : damage) {
    SCOPED_TRACE(name);
    Bytes("Apr02ixc.A") = sound;
    poke(Bytes("Apr02ixc.A"));
    OpenIndex(ix, "Apr02ixc.A", 5, false);
    std::vector<int16_t> order;
    EXPECT_FALSE(RecordsInKeyOrder(ix, order));
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(Engine().EngineStatus, 0);
    CloseIndex(ix);
  }
  Bytes("Apr02ixc.A") = sound;
  OpenIndex(ix, "Apr02ixc.A", 5, false);
  std::vector<int16_t> order;
  ASSERT_TRUE(RecordsInKeyOrder(ix, order));
  EXPECT_EQ(order, Stepped());
}

TEST_F(BTreeTest, OpeningWithAnotherKeyLengthIsFatal) {
  Make(5, false);
  CloseIndex(ix);
  ExpectFailureBox(kStatusIndexLength, [&] { OpenIndex(ix, "Apr02ixc.A", 6, false); });
}

TEST_F(BTreeTest, KeyLengthAboveSixIsFatal) {
  ExpectFailureBox(kStatusKeyTooLong, [&] { MakeIndex(ix, "x", 7, false); });
}

}  // namespace
}  // namespace vantu::test
