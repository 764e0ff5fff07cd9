// An editing session over a generated set, stopped at every one of its
// writes: killed (what was written stays), cut off by a power failure (only
// what was synced stays) or failing on a full disk. The next start's
// recovery must always leave a set that opens, holds every operation that
// had finished, and whose indexes pass the checker and agree with the data.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "console/keys.h"
#include "dataset_generator.h"
#include "file_sets_fixture.h"
#include "platform/halt.h"
#include "session/pstring.h"
#include "storage/file_io.h"
#include "storage/index_check.h"
#include "storage/memory_files.h"
#include "storage/set_in_use.h"

namespace vantu {
namespace {

using test::FileSetsTest;
using Live = std::map<std::string, uint8_t>;  // code -> value byte of the record
constexpr int kValueAt = 60;                  // a body byte that the changes rewrite
constexpr int kAreas[] = {2, 6};

enum class OpKind { kAdd, kChange, kDelete, kFlush };
struct Op {
  OpKind kind;
  int area;
  std::string code;
  uint8_t value = 0;
};

std::string Code(int chapter, int item) {
  char b[8];
  std::snprintf(b, sizeof b, "%02d%03d", chapter, item);
  return b;
}

class StopPointsTest : public FileSetsTest {
 protected:
  void SetUp() override {
    FileSetsTest::SetUp();
    SetStorageFiles(&files);
    dataset::DatasetShape shape;
    shape.directory = dataDir.string();
    shape.inputRecords = 70;
    shape.analysisRecords = 20;
    shape.subcontractRecords = 6;
    shape.globalRecords = 4;
    shape.budgetRecords = 50;
    dataset::GenerateDataset(shape);
    for (int n : kAreas) baseLive[n] = ReadLive(n, false);
    baseline = files.Contents();
    BuildScript();
  }
  void TearDown() override {
    CloseSet();
    SetStorageFiles(nullptr);
    FileSetsTest::TearDown();
  }

  // Live records of area n as its data file holds them, found by status
  // word; when the set is open, the index must agree.
  Live ReadLive(int n, bool setOpen) {
    if (!setOpen) OpenSet("A", "01");
    WorkArea& a = Area(n);
    Live live;
    std::vector<IndexEntry> fromData;
    std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength));
    for (int r = 1; r < FileRecordCount(a.Data); ++r) {
      GetRec(a.Data, static_cast<int16_t>(r), rec.data());
      if (GetI16(rec.data()) != 0) continue;
      const std::string code = ReadStr(rec.data() + kRecordCode, 6);
      live[code] = rec[kValueAt];
      fromData.push_back({code, static_cast<int16_t>(r)});
    }
    std::vector<IndexEntry> fromIndex;
    EXPECT_EQ(CheckIndexIntegrity(a.Index, &fromIndex), "") << "area " << n;
    std::sort(fromData.begin(), fromData.end(),
              [](const IndexEntry& x, const IndexEntry& y) { return x.key < y.key; });
    EXPECT_EQ(fromIndex, fromData) << "index and data disagree in area " << n;
    if (!setOpen) CloseSet();
    return live;
  }

  // Adds that reuse freed records and then split pages, changes, deletes
  // down to merges, with a flush now and then.
  void BuildScript() {
    std::vector<std::string> codes2, codes6;
    for (const auto& [code, v] : baseLive[2])
      if (code.size() == 5) codes2.push_back(code);
    for (const auto& [code, v] : baseLive[6])
      if (code.size() == 5) codes6.push_back(code);
    for (size_t i = 0; i < 12 && i < codes2.size(); ++i)
      script.push_back({OpKind::kDelete, 2, codes2[i * 3 % codes2.size()]});
    script.push_back({OpKind::kFlush, 2, ""});
    for (int i = 1; i <= 40; ++i) script.push_back({OpKind::kAdd, 2, Code(90, i), 1});
    for (size_t i = 0; i < 8; ++i)
      script.push_back({OpKind::kChange, 2, codes2[codes2.size() - 1 - i], 7});
    script.push_back({OpKind::kFlush, 2, ""});
    for (size_t i = 0; i < 10 && i < codes6.size(); ++i)
      script.push_back({OpKind::kDelete, 6, codes6[i * 2]});
    for (int i = 1; i <= 8; ++i) script.push_back({OpKind::kAdd, 6, Code(91, i), 3});
    script.push_back({OpKind::kFlush, 6, ""});
    for (int i = 1; i <= 40; i += 2) script.push_back({OpKind::kDelete, 2, Code(90, i)});
    // The model: the live records after each operation.
    Live state2 = baseLive[2], state6 = baseLive[6];
    model.push_back({state2, state6});
    for (const Op& op : script) {
      Live& s = op.area == 2 ? state2 : state6;
      if (op.kind == OpKind::kAdd || op.kind == OpKind::kChange) s[op.code] = op.value;
      if (op.kind == OpKind::kDelete) s.erase(op.code);
      model.push_back({state2, state6});
    }
  }

  void Run(const Op& op) {
    WorkArea& a = Area(op.area);
    std::vector<uint8_t> rec(static_cast<size_t>(a.RecordLength), 0);
    std::string key = op.code;
    int16_t r = 0;
    switch (op.kind) {
      case OpKind::kAdd:
        WriteStr(rec.data() + kRecordCode, 6, op.code);
        rec[kValueAt] = op.value;
        AddRec(a.Data, r, rec.data());
        AddKey(a.Index, r, key);
        break;
      case OpKind::kChange:
        FindKey(a.Index, r, key);
        GetRec(a.Data, r, rec.data());
        rec[kValueAt] = op.value;
        PutRec(a.Data, r, rec.data());
        break;
      case OpKind::kDelete:
        DeleteKey(a.Index, r, key);
        DeleteRec(a.Data, r);
        break;
      case OpKind::kFlush:
        FlushWorkArea(op.area);
        break;
    }
  }

  // Runs the session from the baseline; returns the write count at the end
  // of each operation (counted from the session's start), and per area
  // the operations done before each of its flushes.
  std::vector<int> RunSession() {
    std::vector<int> ends;
    w0 = files.Writes();
    OpenSet("A", "01");
    ends.push_back(files.Writes() - w0);
    for (const Op& op : script) {
      Run(op);
      ends.push_back(files.Writes() - w0);
    }
    CloseSet();
    return ends;
  }

  void StartFromBaseline() { StartFrom(files, baseline, "A", "01"); }

  // The next start: recovery, then the set opens without any repair and
  // each area holds the model after `low` to `high` operations.
  void ExpectRecoveredBetween(size_t low, size_t high, const std::string& what) {
    ExpectRecovered({{2, {low, high}}, {6, {low, high}}}, what);
  }
  void ExpectRecovered(std::map<int, std::pair<size_t, size_t>> range, const std::string& what) {
    SCOPED_TRACE(what);
    Restart();
    EXPECT_TRUE(ReadInUseFields().rama.empty());
    OpenSet("A", "01");
    for (int n = 1; n <= 6; ++n) EXPECT_FALSE(Area(n).indexRebuilt) << "area " << n;
    for (int n : kAreas) {
      const Live live = ReadLive(n, true);
      bool matched = false;
      const auto [low, high] = range[n];
      for (size_t k = low; k <= high && k < model.size() && !matched; ++k)
        matched = live == (n == 2 ? model[k].first : model[k].second);
      EXPECT_TRUE(matched) << "area " << n << " holds no state between operations " << low
                           << " and " << high;
    }
    for (int n : {3, 4}) EXPECT_EQ(CheckIndexIntegrity(Area(n).Index), "") << "area " << n;
    CloseSet();
  }

  // Operations finished when the first `writes` writes had reached the files.
  static size_t Finished(const std::vector<int>& ends, int writes) {
    size_t done = 0;
    for (size_t i = 1; i < ends.size(); ++i)
      if (ends[i] <= writes) done = i;
    return done;
  }

  MemoryFiles files;
  int w0 = 0;  // write count when the session started
  MemoryFiles::Image baseline;
  std::map<int, Live> baseLive;
  std::vector<Op> script;
  std::vector<std::pair<Live, Live>> model;
};

TEST_F(StopPointsTest, TheSessionItselfMatchesTheModel) {
  StartFromBaseline();
  const std::vector<int> ends = RunSession();
  ASSERT_GT(ends.back(), 100) << "the session must write often enough to be worth stopping";
  ExpectRecoveredBetween(script.size(), script.size(), "whole session");
}

TEST_F(StopPointsTest, AKillAtEveryWriteIsRecovered) {
  StartFromBaseline();
  const std::vector<int> ends = RunSession();
  for (int n = 1; n <= ends.back(); ++n) {
    StartFromBaseline();
    files.StopAtWrite(n, MemoryFiles::StopKind::kKill);
    RunSession();
    ASSERT_TRUE(files.Stopped());
    files.RestoreStopImage();
    const size_t done = Finished(ends, n - 1);
    ExpectRecoveredBetween(done, done + 1, "kill at write " + std::to_string(n));
    if (HasFailure()) break;
  }
}

TEST_F(StopPointsTest, APowerCutAtEveryWriteKeepsWhatWasSynced) {
  StartFromBaseline();
  const std::vector<int> ends = RunSession();
  for (int n = 1; n <= ends.back(); ++n) {
    StartFromBaseline();
    files.StopAtWrite(n, MemoryFiles::StopKind::kPowerCut);
    RunSession();
    files.RestoreStopImage();
    // Each area keeps at least what its last finished flush synced.
    const size_t done = Finished(ends, n - 1);
    std::map<int, std::pair<size_t, size_t>> range;
    for (int area : kAreas) {
      size_t synced = 0;
      for (size_t i = 0; i < done; ++i)
        if (script[i].kind == OpKind::kFlush && script[i].area == area) synced = i + 1;
      range[area] = {synced, done + 1};
    }
    ExpectRecovered(range, "power cut at write " + std::to_string(n));
    if (HasFailure()) break;
  }
}

TEST_F(StopPointsTest, AFullDiskAtEveryWriteIsRecoveredOnceSpaceIsFreed) {
  StartFromBaseline();
  const std::vector<int> ends = RunSession();
  for (int n = 1; n <= ends.back(); ++n) {
    StartFromBaseline();
    files.FillDiskAtWrite(n);
    host.PushKeys({kKeyEnter});  // for the engine's error box
    bool halted = false;
    try {
      RunSession();
    } catch (const Halt&) {
      halted = true;
    }
    if (files.FirstFullWrite() == 0) {
      EXPECT_FALSE(halted) << "the session stopped although every write fitted";
      continue;  // no write after n grew a file
    }
    ASSERT_TRUE(halted) << "write " << n << " failed without stopping";
    EXPECT_EQ(Engine().EngineStatus, kStatusDiskFull);
    EXPECT_NE(Engine().failedFile, "") << "the box names no file";
    files.FreeSpace();
    files.RestoreStopImage();  // the program ended: its handles are gone
    const size_t done = Finished(ends, files.FirstFullWrite() - w0 - 1);
    ExpectRecoveredBetween(done, done + 1, "disk full at write " + std::to_string(n));
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace vantu
