// The window program and a Rama that another program holds: the selection
// refuses it with a box that names the holder and writes nothing; once the
// holder has died, the same Rama opens, rebuilt, and the status line says
// so.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/keys.h"
#include "dataset_generator.h"
#include "platform/file_lock.h"
#include "platform/halt.h"
#include "session/paths.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/set_in_use.h"
#include "storage/file_sets.h"
#include "storage/recovery.h"
#include "storage/set_lock.h"
#include "storage/storage_engine.h"
#include "support/headless_fixture.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

class SetInUseSessionTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    savedDir = fs::current_path();
    project = fs::path(DocumentsRoot()) / "Vantu";
    fs::remove_all(project);
    dataset::DatasetShape shape;
    shape.directory = project.string();
    shape.inputRecords = 20;
    shape.analysisRecords = 30;
    shape.subcontractRecords = 4;
    shape.globalRecords = 6;
    shape.budgetRecords = 20;
    shape.calculated = true;
    InitStorageEngine();
    dataset::GenerateDataset(shape);
    ShutdownStorageEngine();
    ResetCoreState();
    SetHost(&host);
    InstallModules();
    host.Settings()["\\Presupuesto\\sConsultor"] = "Ana";
    // The status line's notices, kept for the test as they are shown.
    notices.clear();
    shownNotice = RecoveryScreens().notice;
    RecoveryScreens().notice = [](const std::string& text) {
      notices.push_back(text);
      shownNotice(text);
    };
    host.Settings()["\\Presupuesto\\sProyDir"] = project.string();
  }
  void TearDown() override {
    if (holder > 0) {
      ::kill(holder, SIGKILL);
      ::waitpid(holder, nullptr, 0);
    }
    ShellFinalize();
    fs::current_path(savedDir);
    fs::remove_all(project);
    HeadlessTest::TearDown();
  }

  std::map<std::string, std::string> SetFiles() {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(project)) {
      const std::string name = e.path().filename().string();
      if (name.rfind("Apr0", 0) != 0 || name.rfind("Apr00blq", 0) == 0) continue;
      std::ifstream in(e.path(), std::ios::binary);
      files[name] = std::string(std::istreambuf_iterator<char>(in), {});
    }
    return files;
  }

  // Another program holds Rama A, its Obra open for writing, and stops.
  void HoldElsewhere() {
    std::fflush(nullptr);
    holder = ::fork();
    if (holder == 0) {
      ResetSetLocks();
      SetLockProgram("vantu-cli");
      const bool ok = TakeSetLock(project.string(), "A").result == SetLockResult::kTaken &&
                      MarkHeldSetOpen(project.string(), "A", "01");
      ::raise(SIGSTOP);
      ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, WUNTRACED), holder);
    ASSERT_TRUE(WIFSTOPPED(status));
  }

  fs::path savedDir, project;
  pid_t holder = -1;
  static inline std::vector<std::string> notices;
  static inline void (*shownNotice)(const std::string&) = nullptr;
};

TEST_F(SetInUseSessionTest, AHeldRamaIsRefusedByNameAndOpensRebuiltOnceItsHolderDied) {
  HoldElsewhere();
  const auto before = SetFiles();
  host.TypeText("A");
  host.TypeKeys({kKeyEnter});
  host.QueueStep([&] {
    ASSERT_FALSE(host.Boxes().empty());
    const auto& box = host.Boxes().back();
    EXPECT_EQ(box.caption, "Rama en uso");
    EXPECT_NE(box.text.find("La RAMA A esta en uso"), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Programa: vantu-cli (proceso " + std::to_string(holder) + ")"),
              std::string::npos)
        << box.text;
    EXPECT_NE(box.text.find("Equipo: " + CurrentComputerName()), std::string::npos);
    EXPECT_TRUE(Selection().RamaCode.empty());
    EXPECT_FALSE(Selection().RamaOpen);
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Ok);  // the refusal
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_THROW(RunMain("vantu"), Halt);  // the program ends from the selection
  EXPECT_TRUE(SetFiles() == before) << "the refusal wrote into the set";
  EXPECT_TRUE(notices.empty());

  // The holder dies; its lock goes with it. The next start opens the Rama,
  // rebuilt, and says so.
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  holder = -1;
  ShellFinalize();
  ResetCoreState();
  SetHost(&host);
  InstallModules();
  host.Settings()["\\Presupuesto\\sProyDir"] = project.string();
  RecoveryScreens().report = [](const std::vector<std::string>& lines) {
    notices.insert(notices.end(), lines.begin(), lines.end());
  };
  host.TypeText("A");
  host.TypeKeys({kKeyEnter});
  host.TypeText("01");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  bool checked = false;
  host.QueueStep([&] {
    ASSERT_TRUE(Shell().atMainMenu);
    EXPECT_TRUE(Selection().ObraOpen);
    EXPECT_TRUE(HoldsSetLock(project.string(), "A"));
    checked = true;
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Yes);
  RunMain("vantu");
  ShellFinalize();  // the program's end, as main runs it
  EXPECT_TRUE(checked);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0], "La RAMA A OBRA 01 no se cerro normalmente: se regeneraron sus indices");
  EXPECT_FALSE(HoldsSetLock(project.string(), "A"));
  const std::string lock = ReadLockFileText(SetLockPath(project.string(), "A"));
  EXPECT_NE(lock.find("estado=cerrado"), std::string::npos) << lock;
  EXPECT_NE(lock.find("programa=vantu\r"), std::string::npos) << lock;
}

}  // namespace
}  // namespace vantu
