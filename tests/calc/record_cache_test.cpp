#include "calc/record_cache.h"

#include "calc_fixture.h"

namespace vantu::test {
namespace {

class RecordCacheTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    for (int i = 1; i <= 7; ++i) Input("0100" + std::to_string(i), 1000 * i);
  }
  long double PriceOnDisk(int16_t r) { return Get(Read<InputRecord>(2, r), input::Price); }
};

// Put records reach the file, neighbours together as one run; a record
// changed in memory without Put keeps the file's bytes, even one changed on
// disk meanwhile.
TEST_F(RecordCacheTest, FlushWritesThePutRecordsAndNothingElse) {
  RecordCache<InputRecord> cache(kAreaInputs);
  ASSERT_EQ(cache.Count(), 8);
  for (int r : {2, 3, 4, 6}) {
    Set(cache.Get(r), input::Price, 5.5L * r);
    if (r != 4) cache.Put(r);
  }
  cache.Get(5);
  cache.Put(5);  // Put with the file's own bytes: written unchanged
  cache.Get(7);
  InputRecord behind = Read<InputRecord>(2, 7);
  Set(behind, input::Price, 77.0L);
  PutRec(Area(2).Data, 7, behind.data());

  cache.Flush();

  const long double want[] = {0, 1000, 11, 16.5L, 4000, 5000, 33, 77};
  for (int16_t r = 1; r <= 7; ++r) EXPECT_EQ(PriceOnDisk(r), want[r]) << "record " << r;
}

// A cache flushed once goes on: what changes after the flush reaches the
// file at the next one, and a record put before the first flush is not
// written again over a later change made on disk.
TEST_F(RecordCacheTest, ChangesAfterAFlushReachTheFileAtTheNext) {
  RecordCache<InputRecord> cache(kAreaInputs);
  Set(cache.Get(2), input::Price, 22.0L);
  cache.Put(2);
  Set(cache.Get(6), input::Price, 66.0L);
  cache.Put(6);
  cache.Flush();
  InputRecord behind = Read<InputRecord>(2, 6);
  Set(behind, input::Price, 606.0L);
  PutRec(Area(2).Data, 6, behind.data());
  Set(cache.Get(3), input::Price, 33.0L);
  cache.Put(3);

  cache.Flush();

  const long double want[] = {0, 1000, 22, 33, 4000, 5000, 606, 7000};
  for (int16_t r = 1; r <= 7; ++r) EXPECT_EQ(PriceOnDisk(r), want[r]) << "record " << r;
}

// 1,800 analyses of 632 bytes are more than one write takes at once.
TEST_F(RecordCacheTest, RunsLongerThanOneWriteAreSplitWithoutLosingARecord) {
  constexpr int kRecords = 1800;
  for (int i = 1; i <= kRecords; ++i) {
    AnalysisRecord a;
    AddRecord(kAreaAnalyses, "01" + std::to_string(10000 + i).substr(1), a);
  }
  RecordCache<AnalysisRecord> cache(kAreaAnalyses);
  ASSERT_EQ(cache.Count(), kRecords + 1);
  for (int r = 1; r <= kRecords; ++r) {
    if (r == 900) continue;  // one gap splits the run
    Set(cache.Get(r), analysis::DirectCost, static_cast<long double>(r) / 8);
    cache.Put(r);
  }
  cache.Flush();
  for (int16_t r = 1; r <= kRecords; ++r)
    ASSERT_EQ(Get(Read<AnalysisRecord>(3, r), analysis::DirectCost),
              r == 900 ? 0 : static_cast<long double>(r) / 8)
        << "record " << r;
}

}  // namespace
}  // namespace vantu::test
