// One writer per set: a set that another process holds (stopped while it
// holds it, from another program folder) is refused by every command with
// the holder's name and nothing changes; a holder that dies leaves the set
// to the next one, which rebuilds it and says so; a failed command on one
// set leaves nothing behind for the next command on another set.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <map>

#include "app/install_modules.h"
#include "cli/calc_command.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "cli/list_command.h"
#include "cli/set_open.h"
#include "platform/file_lock.h"
#include "cli/cli_fixture.h"
#include "storage/file_sets.h"
#include "storage/set_lock.h"

namespace vantu::test {
namespace {

class OneWriterTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    GenerateCalculated();
  }
  void TearDown() override {
    StopHolder();
    CliTest::TearDown();
  }

  // Every file of the data folder but the lock file, byte for byte.
  std::map<std::string, std::vector<uint8_t>> Snapshot() {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& e : fs::directory_iterator(dataDir)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("Apr00blq.", 0) == 0) continue;
      files[name] = WholeFile(name);
    }
    return files;
  }

  // Another process opens the set as vantu-cli does, from its own program
  // folder, and stops there holding it (as a slow disk or a long run would).
  void StartStoppedHolder(const std::string& rama = "A", const std::string& obra = "01") {
    std::fflush(nullptr);
    holder_ = ::fork();
    ASSERT_GE(holder_, 0);
    if (holder_ == 0) {
      setenv("VANTU_HOME", (root / "otra-casa").c_str(), 1);
      SetLockProgram("vantu-cli");
      HeadlessHost h;
      SetHost(&h);
      InstallModules();
      cli::OpenSetAsSelected(dataDir.string(), rama, obra, "vantu-cli");
      // It has begun to write: the Obra changed since its calculation.
      Area(6).SavedChangeMarker = 1;
      FlushWorkArea(6);
      ::raise(SIGSTOP);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(holder_, &status, WUNTRACED), holder_);
    ASSERT_TRUE(WIFSTOPPED(status)) << "the holder did not reach its stop";
  }
  void KillHolder() {
    if (holder_ <= 0) return;
    ::kill(holder_, SIGKILL);
    ::waitpid(holder_, nullptr, 0);
    holder_ = -1;
  }
  void StopHolder() { KillHolder(); }

  // A command's status, with what it wrote on stderr.
  template <class F>
  int Run(F command, std::string& err) {
    ::testing::internal::CaptureStderr();
    const int status = command();
    err = ::testing::internal::GetCapturedStderr();
    SetHost(&host);
    return status;
  }
  std::vector<std::string> SetArgs(const std::string& rama = "A") {
    return {"--dir", dataDir.string(), "--rama", rama, "--obra", "01"};
  }
  static std::vector<std::string> With(std::vector<std::string> a,
                                       const std::vector<std::string>& more) {
    a.insert(a.end(), more.begin(), more.end());
    return a;
  }

  pid_t holder_ = -1;
};

TEST_F(OneWriterTest, ASetHeldByAnotherProcessIsRefusedByEveryCommandAndNothingChanges) {
  StartStoppedHolder();
  const auto before = Snapshot();
  const std::string out = (root / "salida").string();
  struct Case {
    const char* name;
    std::function<int()> run;
  } cases[] = {
      {"calc", [&] { return cli::CalcCommand(SetArgs(), "vantu-cli"); }},
      {"list",
       [&] {
         return cli::ListCommand(With(SetArgs(), {"--listing", "insumos", "--text", out}),
                                 "vantu-cli");
       }},
      {"export",
       [&] {
         return cli::ExportCommand(With(SetArgs(), {"--format", "bc3", "--out", out}),
                                   "vantu-cli");
       }},
      {"import --actualizar",
       [&] {
         std::ofstream(root / "banco.bc3", std::ios::binary)
             << "~V|yo|FIEBDC-3/2016|banco|Banco|ANSI||1|\r\n~C|01010|u|Precio|5||2|\r\n";
         return cli::ImportCommand({"--actualizar", "--dir", dataDir.string(), "--format", "bc3",
                                    "--in", (root / "banco.bc3").string(), "--rama", "A"},
                                   "vantu-cli");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string err;
    EXPECT_EQ(Run(c.run, err), cli::kExitFailure);
    EXPECT_NE(err.find("La RAMA A esta en uso"), std::string::npos) << err;
    EXPECT_NE(err.find("Usuario: " + CurrentUserName()), std::string::npos) << err;
    EXPECT_NE(err.find("Equipo: " + CurrentComputerName()), std::string::npos) << err;
    EXPECT_NE(err.find("Programa: vantu-cli (proceso " + std::to_string(holder_) + ")"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("headless"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(Snapshot() == before) << "a refused command changed the set";
  }
  // The holder goes on as if nothing happened: its lock is still there.
  EXPECT_TRUE(FileLockHeldElsewhere(SetLockPath(dataDir.string(), "A")));
}

TEST_F(OneWriterTest, AHolderThatDiesLeavesTheSetToTheNextWhichRebuildsItAndSaysSo) {
  StartStoppedHolder();
  KillHolder();
  const std::string lockText = ReadLockFileText(SetLockPath(dataDir.string(), "A"));
  EXPECT_NE(lockText.find("estado=abierto"), std::string::npos) << lockText;
  std::string err;
  EXPECT_EQ(Run([&] { return cli::CalcCommand(SetArgs(), "vantu-cli"); }, err), cli::kExitOk);
  EXPECT_NE(err.find("no se cerro normalmente: se regeneraron sus indices"), std::string::npos)
      << err;
  EXPECT_NE(ReadLockFileText(SetLockPath(dataDir.string(), "A")).find("estado=cerrado"),
            std::string::npos);
  // Closed normally: the next command has nothing to rebuild.
  EXPECT_EQ(Run([&] { return cli::CalcCommand(SetArgs(), "vantu-cli"); }, err), cli::kExitOk);
  EXPECT_EQ(err.find("se regeneraron"), std::string::npos) << err;
}

TEST_F(OneWriterTest, AnotherRamaOfTheSameFolderIsNotHeld) {
  auto shape = SmallShape();
  shape.rama = "B";
  shape.calculated = true;
  GenerateDataset(shape);
  StartStoppedHolder("A");
  std::string err;
  EXPECT_EQ(Run([&] { return cli::CalcCommand(SetArgs("B"), "vantu-cli"); }, err), cli::kExitOk)
      << err;
}

TEST_F(OneWriterTest, AFailedCommandOnOneSetLeavesNothingForTheNextOnAnother) {
  auto shape = SmallShape();
  shape.rama = "B";
  shape.calculated = true;
  GenerateDataset(shape);
  // A partial last record in B's inputs: the window would ask whether to
  // regenerate the file; the command line refuses with those words.
  {
    std::ofstream damage(dataDir / "Apr02dat.B", std::ios::binary | std::ios::app);
    damage << "xyz";
  }
  const auto damaged = Snapshot();
  std::string err;
  EXPECT_EQ(Run([&] { return cli::CalcCommand(SetArgs("B"), "vantu-cli"); }, err),
            cli::kExitFailure);
  EXPECT_NE(err.find("Apr02dat.B esta danado"), std::string::npos) << err;
  EXPECT_NE(err.find("korven"), std::string::npos) << err;
  EXPECT_EQ(err.find("headless"), std::string::npos) << err;
  EXPECT_TRUE(Snapshot() == damaged) << "a refused opening wrote into the set";
  // The next command, on A, works and does not touch B behind anyone's back.
  EXPECT_EQ(Run([&] { return cli::CalcCommand(SetArgs("A"), "vantu-cli"); }, err), cli::kExitOk)
      << err;
  EXPECT_EQ(err.find("se regeneraron"), std::string::npos) << err;
  auto now = Snapshot();
  for (const auto& [name, bytes] : damaged) {
    if (name.find(".B") == std::string::npos) continue;
    EXPECT_TRUE(now[name] == bytes) << name;
  }
}

}  // namespace
}  // namespace vantu::test
