// The whole program twice: a first start in an empty project folder opens a
// new Rama and Obra through the selection, records are added and the run
// ends without closing anything; the next start recovers the set.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/keys.h"
#include "selection/set_list.h"
#include "session/paths.h"
#include "session/pstring.h"
#include "session/selection_state.h"
#include "session/shell_state.h"
#include "storage/file_sets.h"
#include "storage/index_check.h"
#include "storage/set_in_use.h"
#include "storage/storage_engine.h"
#include "support/headless_fixture.h"
#include "toolkit/field_hooks.h"
#include "toolkit/schemes.h"
#include "toolkit/status_line.h"
#include "toolkit/window_stack.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

struct Crash {};

class SelectionCrashTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    savedDir = fs::current_path();
    project = fs::path(DocumentsRoot()) / "Vantu";
    fs::remove_all(project);
    Fresh();
  }
  void TearDown() override {
    ShellFinalize();
    ClearCommands();
    Hooks() = ShellHooks{};
    fs::current_path(savedDir);
    fs::remove_all(project);
    HeadlessTest::TearDown();
  }
  // Core state as a new process has it.
  void Fresh() {
    ResetScreen();
    ResetInput();
    ResetZones();
    ResetShell();
    ResetSchemes();
    ResetWindowStack();
    ResetStatusLine();
    ResetFieldEditor();
    ResetWorkAreas();
    ResetSelection();
    ResetStorageEngine();
    InstallModules();
    RegisterCommand('D', {});  // the general data screen is not part of this session
    host.Settings()["\\Presupuesto\\sConsultor"] = "Ana";
  }
  static std::string Code(const char* format, int n) {
    char code[8];
    std::snprintf(code, sizeof code, format, n);
    return code;
  }
  static int16_t Find(int n, const std::string& code) {
    std::string key = code;
    int16_t r = 0;
    FindKey(Area(n).Index, r, key);
    return LastOpOk() ? r : -1;
  }
  static void Add(int n, const std::string& code) {
    std::vector<uint8_t> rec(static_cast<size_t>(Area(n).RecordLength), 0);
    WriteStr(rec.data() + kRecordCode, 6, code);
    int16_t r = 0;
    AddRec(Area(n).Data, r, rec.data());
    std::string key = code;
    AddKey(Area(n).Index, r, key);
  }

  fs::path savedDir, project;
};

TEST_F(SelectionCrashTest, ARunEndedWithoutClosingIsRecoveredWithEveryRecord) {
  host.QueueStep([] {
    EXPECT_TRUE(ScreenContains("SELECCION INICIAL"));
    EXPECT_TRUE(SetList().entries.empty());
  });
  host.TypeText("A");
  host.TypeKeys({kKeyEnter});
  host.TypeText("01");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  host.QueueStep([] {
    ASSERT_TRUE(Shell().atMainMenu);
    for (int c = 1; c <= 60; ++c) {
      Add(2, Code("%02d", c));
      Add(2, Code("01%03d", c));
      Add(6, Code("02%03d", c));
    }
    // The process dies: descriptors go, cached pages and headers are lost.
    for (int n = 1; n <= 6; ++n) {
      ::close(Area(n).Data.handle);
      if (Area(n).Index.File.isOpen) ::close(Area(n).Index.File.handle);
    }
    throw Crash{};
  });
  EXPECT_THROW(RunMain("vantu"), Crash);
  EXPECT_EQ(ReadInUseFields().rama, "A");
  EXPECT_EQ(ReadInUseFields().obra, "01");
  ShutdownStorageEngine();
  Fresh();

  host.TypeText("A");
  host.TypeKeys({kKeyEnter});
  host.TypeText("01");
  host.TypeKeys({kKeyEnter, kKeyEnter});
  bool checked = false;
  host.QueueStep([&] {
    ASSERT_TRUE(Shell().atMainMenu);
    EXPECT_EQ(UsedRecordCount(Area(2).Data), 120);
    EXPECT_EQ(UsedRecordCount(Area(6).Data), 60);
    for (int n : {2, 3, 4, 6}) EXPECT_EQ(CheckIndexIntegrity(Area(n).Index), "") << n;
    for (int c = 1; c <= 60; ++c) {
      EXPECT_GT(Find(2, Code("%02d", c)), 0) << c;
      EXPECT_GT(Find(2, Code("01%03d", c)), 0) << c;
      EXPECT_GT(Find(6, Code("02%03d", c)), 0) << c;
    }
    EXPECT_EQ(Selection().HeaderLine, "OBRA : 01 - << Obra sin Nombre >>");
    checked = true;
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Yes);
  RunMain("vantu");
  EXPECT_TRUE(checked);
  EXPECT_FALSE(Shell().generalDataNext);  // the set was there: no general data screen
  EXPECT_TRUE(ReadInUseFields().directory.empty());
}

}  // namespace
}  // namespace vantu
