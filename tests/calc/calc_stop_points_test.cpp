// The review and calculation over a generated set, stopped at every one of
// its writes: killed (what was written stays) or cut off by a power failure
// (only what was synced stays). The next start's recovery and a new run must
// leave exactly the results of a run never stopped: every computed field,
// every required quantity and which records the budget uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/review_and_calc.h"
#include "records/analysis_records.h"
#include "records/budget_records.h"
#include "records/coded_records.h"
#include "records/dataset_fixture.h"
#include "storage/memory_files.h"
#include "storage/set_in_use.h"

namespace vantu::test {
namespace {

using Records = std::vector<std::vector<uint8_t>>;

class CalcStopPointsTest : public DatasetTest {
 protected:
  void SetUp() override {
    DatasetTest::SetUp();
    SetStorageFiles(&files);
    dataset::DatasetShape shape = SmallShape();
    shape.calculated = true;
    dataset::GenerateDataset(shape);
    baseline = files.Contents();
  }
  void TearDown() override {
    CloseSet();
    SetStorageFiles(nullptr);
    DatasetTest::TearDown();
  }

  void StartFromBaseline() { StartFrom(files, baseline, "A", "01"); }

  // A run over everything, as after a change in every file.
  void Calculate() {
    OpenSet("A", "01");
    for (int n = 1; n <= 6; ++n) Area(n).SavedChangeMarker = 1;
    CalcObserver none;
    const RunOutcome out = ExecuteRun(PrepareRun(), none, "");
    EXPECT_EQ(out.TotalErrors(), 0);
    CloseSet();
  }

  // Every record of files 2 to 6, with CalcStamp read against the set's
  // serial: 1 stamped by the last run, -1 priced but not used by it, 0 any
  // older stamp. The Obra's grand total ends the list.
  Records Results() {
    OpenSet("A", "01");
    for (int n = 1; n <= 6; ++n) EXPECT_FALSE(Area(n).indexRebuilt) << "area " << n;
    const int16_t serial = Area(1).SavedSetSerial;
    Records out;
    for (int n = 2; n <= 6; ++n) {
      for (int r = 1; r < FileRecordCount(Area(n).Data); ++r) {
        std::vector<uint8_t> rec(static_cast<size_t>(Area(n).RecordLength));
        GetRec(Area(n).Data, static_cast<int16_t>(r), rec.data());
        if (n != 6) {
          const int at = n == 5 ? global_price::CalcStamp.offset : coded::CalcStamp.offset;
          const int16_t stamp = GetI16(rec.data() + at);
          PutI16(rec.data() + at, stamp == serial ? 1 : stamp == -serial ? -1 : 0);
        }
        out.push_back(std::move(rec));
      }
      EXPECT_EQ(Area(n).SavedChangeMarker, 0) << "area " << n;
      EXPECT_EQ(Area(n).SavedSetSerial, serial) << "area " << n;
    }
    ObraHeader h;
    GetRec(Area(6).Data, 0, h.data());
    out.emplace_back(h.data() + obra_header::BudgetItemsTotal.offset,
                     h.data() + obra_header::BudgetItemsTotal.offset + 10);
    CloseSet();
    return out;
  }

  void ExpectStopsRecovered(MemoryFiles::StopKind kind, const char* what) {
    StartFromBaseline();
    const int w0 = files.Writes();
    Calculate();
    const int writes = files.Writes() - w0;
    const Records expected = Results();
    ASSERT_GT(writes, 10);
    for (int n = 1; n <= writes; ++n) {
      SCOPED_TRACE(std::string(what) + " at write " + std::to_string(n));
      StartFromBaseline();
      files.StopAtWrite(n, kind);
      Calculate();
      ASSERT_TRUE(files.Stopped());
      files.RestoreStopImage();
      Restart();
      ASSERT_TRUE(ReadInUseFields().rama.empty());
      Calculate();
      ASSERT_EQ(Results(), expected);
    }
  }

  MemoryFiles files;
  MemoryFiles::Image baseline;
};

TEST_F(CalcStopPointsTest, AKillAtEveryWriteEndsInTheResultsOfAWholeRun) {
  ExpectStopsRecovered(MemoryFiles::StopKind::kKill, "kill");
}

TEST_F(CalcStopPointsTest, APowerCutAtEveryWriteEndsInTheResultsOfAWholeRun) {
  ExpectStopsRecovered(MemoryFiles::StopKind::kPowerCut, "power cut");
}

}  // namespace
}  // namespace vantu::test
