// A price update killed at every one of its writes: the next start's
// recovery leaves files 2 and 4 with every record they held, each either
// as before or as the update leaves it, and indexes that agree with the
// data; the update then run again ends with the same set, report and codes
// file as an update that was never stopped.
#include <gtest/gtest.h>

#include "price_update_fixture.h"
#include "storage/memory_files.h"
#include "storage/set_in_use.h"

namespace vantu::test {
namespace {

class PriceUpdateStopsTest : public PriceUpdateTest {
 protected:
  void SetUp() override {
    PriceUpdateTest::SetUp();
    SetStorageFiles(&files);
    codes = root / "codigos.csv";
    GenerateRama();
    OpenRama();
    // A new labour input whose code an earlier update already wrote into the
    // codes file, in a chapter the Rama lacks: the chapter is added too.
    bank = WriteFile(Bc3Of(BankOf(6, 2,
                                  {"C|NUEVO-MO|h|Oficial nuevo|21||1", "C|NUEVO-MT|m|Tubo|7.5||3",
                                   "C|BANCO##||Banco|0||0", "C|CAP#||Capitulo|0||0",
                                   "C|NUEVO-SUB|m2|Enchape|40||0", "D|BANCO##|CAP#\\1\\1\\",
                                   "D|CAP#|NUEVO-SUB\\1\\1\\"})),
                     "banco.bc3");
    base = State();
    CloseSet();
    baseline = files.Contents();
  }
  void TearDown() override {
    CloseSet();
    SetStorageFiles(nullptr);
    PriceUpdateTest::TearDown();
  }

  std::string Report() const { return PriceReportPath(dataDir.string(), "A"); }
  std::string Pending() const { return Report() + ".pendiente"; }

  // The files as the generated set left them, marked in use as an opening
  // marks them, and the files beside the set as before any update.
  void FromBaseline() {
    StartFrom(files, baseline, "A", "");
    std::error_code ec;
    fs::remove(Report(), ec);
    fs::remove(Pending(), ec);
    std::ofstream(codes, std::ios::binary) << kCodes;
  }

  // One update of the Rama, killed at its write `stopAt` (0: never); the
  // writes it made.
  int RunUpdate(int stopAt = 0) {
    OpenRama();
    if (stopAt > 0) files.StopAtWrite(stopAt, MemoryFiles::StopKind::kKill);
    const int w0 = files.Writes();
    const PriceUpdateResult r = Update(bank, codes.string());
    EXPECT_TRUE(r.Ok()) << r.refused << r.failure;
    const int writes = files.Writes() - w0;
    CloseSet();
    return writes;
  }

  SetState OpenState() {
    OpenRama();
    SetState s = State();
    CloseSet();
    return s;
  }

  // Every code of the data agrees with the index, which passes its check.
  void ExpectIndexesAgree() {
    OpenRama();
    for (const int n : {kAreaInputs, kAreaSubcontracts}) {
      std::set<std::string> fromIndex, fromData;
      for (const IndexEntry& e : DatasetTest::Entries(n)) fromIndex.insert(e.key);
      if (n == kAreaInputs)
        for (const InputRecord& r : InUse<InputRecord>(n)) fromData.insert(Get(r, coded::Code));
      else
        for (const SubcontractRecord& r : InUse<SubcontractRecord>(n))
          fromData.insert(Get(r, coded::Code));
      EXPECT_EQ(fromIndex, fromData) << "area " << n;
    }
    CloseSet();
  }

  static constexpr const char* kCodes =
      "codigo original;codigo nuevo;tipo;resumen\r\nNUEVO-MO;95010;insumo;Oficial nuevo\r\n";
  MemoryFiles files;
  MemoryFiles::Image baseline;
  fs::path bank, codes;
  SetState base;
};

TEST_F(PriceUpdateStopsTest, AKillAtEveryWriteIsRecoveredAndTheRepeatedRunEndsTheSame) {
  FromBaseline();
  const int writes = RunUpdate();
  const SetState done = OpenState();
  const std::string report = Text(Report()), codesText = Text(codes);
  ASSERT_GT(writes, 10);
  ASSERT_EQ(done.size(), base.size() + 4) << "three items and chapter 95";
  ASSERT_TRUE(done.count("2:95")) << "the chapter of the code given before";
  EXPECT_EQ(done.at("2:95").group, 4);
  ASSERT_NE(done, base);

  for (int n = 1; n <= writes; ++n) {
    SCOPED_TRACE("kill at write " + std::to_string(n));
    FromBaseline();
    RunUpdate(n);
    ASSERT_TRUE(files.Stopped());
    files.RestoreStopImage();
    // The run went on past the stop; at the stop its report was pending.
    fs::rename(Report(), Pending());
    Restart();
    EXPECT_TRUE(ReadInUseFields().rama.empty());
    ExpectIndexesAgree();
    const SetState recovered = OpenState();
    for (const auto& [key, item] : base) EXPECT_TRUE(recovered.count(key)) << key << " was lost";
    for (const auto& [key, item] : recovered) {
      const bool before = base.count(key) && base.at(key) == item;
      EXPECT_TRUE(before || (done.count(key) && done.at(key) == item))
          << key << " is neither as before nor as after";
    }
    ASSERT_TRUE(TryMarkSetInUseAs(dataDir.string(), "A", ""));
    RunUpdate();
    EXPECT_EQ(Differences(OpenState(), done), "");
    EXPECT_EQ(Text(Report()), report);
    EXPECT_EQ(Text(codes), codesText);
    EXPECT_FALSE(fs::exists(Pending()));
    OpenRama();
    EXPECT_EQ(Area(kAreaInputs).SavedChangeMarker, 1) << "the set needs calculation";
    EXPECT_EQ(Area(kAreaSubcontracts).SavedChangeMarker, 1);
    CloseSet();
    if (HasFailure()) break;
  }
}

}  // namespace
}  // namespace vantu::test
