// A whole run without a display: start, wait at the main menu, leave.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/install_modules.h"
#include "app/main_program.h"
#include "console/key_buttons.h"
#include "console/keys.h"
#include "platform/halt.h"
#include "session/paths.h"
#include "session/preferences.h"
#include "session/shell_state.h"
#include "support/headless_fixture.h"
#include "toolkit/schemes.h"

namespace vantu {
namespace {

namespace fs = std::filesystem;

class StartupExitTest : public test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ResetShell();
    ResetSchemes();
    savedDir = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(savedDir);
    HeadlessTest::TearDown();
  }
  fs::path savedDir;
};

TEST_F(StartupExitTest, StartsAtTheMainMenuAndLeavesWithAltXAndYes) {
  host.QueueStep([this] {
    // At the main menu: a blank screen in the menu colours, one button.
    EXPECT_TRUE(Shell().atMainMenu);
    EXPECT_EQ(Screen().At(1, 1).bg, ColourOf(18));
    EXPECT_EQ(Screen().At(80, 25).bg, ColourOf(18));
    EXPECT_EQ(ScreenText(), std::string(24, '\n'));
    ASSERT_EQ(Buttons().rows[0].buttons.size(), 1u);
    EXPECT_EQ(Buttons().rows[0].buttons[0].caption, "SALIR");
    EXPECT_TRUE(fs::exists(Shell().listingFileName));
    PushKey(kKeyAltX);
  });
  host.AnswerBox(BoxAnswer::Yes);
  RunMain("vantu");
  EXPECT_TRUE(host.ScriptDone());
  ASSERT_EQ(host.Boxes().size(), 1u);
  EXPECT_EQ(host.Boxes()[0].text, "Desea abandonar ahora ?");

  // The project folder defaults to the documents folder's Vantu folder.
  const fs::path project = fs::path(DocumentsRoot()) / "Vantu";
  EXPECT_EQ(host.Settings()["\\Presupuesto\\sProyDir"], project.string());
  EXPECT_EQ(fs::current_path(), project);

  const std::string listing = Shell().listingFileName;
  ShellFinalize();
  EXPECT_FALSE(fs::exists(listing));
}

TEST_F(StartupExitTest, InstallFolderAsProjectIsReplaced) {
  setenv("ProgramFiles", "/opt/prog", 1);
  host.Settings()["\\Presupuesto\\sProyDir"] = "/opt/prog/Vantu";
  host.PushKeys({180});
  RunMain("vantu");
  unsetenv("ProgramFiles");
  EXPECT_EQ(Shell().projectDir, (fs::path(DocumentsRoot()) / "Vantu").string());
  EXPECT_EQ(host.Settings()["\\Presupuesto\\sProyDir"], Shell().projectDir);
}

TEST_F(StartupExitTest, AStoredProjectFolderIsEntered) {
  const fs::path mine = fs::path(DocumentsRoot()) / "Mis obras";
  fs::create_directories(mine);
  host.Settings()["\\Presupuesto\\sProyDir"] = mine.string();
  host.Settings()["\\Presupuesto\\sConsultor"] = std::string(40, 'c');
  host.PushKeys({180});
  RunMain("vantu");
  EXPECT_EQ(fs::current_path(), mine);
  EXPECT_EQ(Shell().consultantName.size(), 35u);
  EXPECT_EQ(Shell().dataDir, mine.string());
}

TEST_F(StartupExitTest, AMissingStoredFolderIsNeitherCreatedNorForgotten) {
  // A folder on a drive that is not plugged in: the program works in its
  // start directory, keeps the setting, and the selection screen says so.
  const fs::path gone = fs::path(DocumentsRoot()) / "Unidad" / "Borrada";
  fs::remove_all(gone.parent_path());
  const fs::path start = fs::current_path();
  host.Settings()["\\Presupuesto\\sProyDir"] = gone.string();
  InstallModules();
  host.PushKeys({kKeyAltX});
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_THROW(RunMain("vantu"), Halt);
  EXPECT_FALSE(fs::exists(gone.parent_path()));
  EXPECT_EQ(fs::current_path(), start);
  EXPECT_EQ(host.Settings()["\\Presupuesto\\sProyDir"], gone.string());
  EXPECT_TRUE(ScreenContains("No se encontro")) << "row 25 tells about the missing folder";
  ShellFinalize();
  ClearCommands();
}

TEST_F(StartupExitTest, WithEveryModuleInstalledTheConfigurationIsCreated) {
  InstallModules();
  // The start ends at the selection screen: leave from there.
  host.PushKeys({kKeyAltX});
  host.AnswerBox(BoxAnswer::Yes);
  EXPECT_THROW(RunMain("vantu"), Halt);
  EXPECT_TRUE(ScreenContains("SELECCION INICIAL"));
  EXPECT_TRUE(fs::exists(ConfigFilePath()));
  EXPECT_EQ(fs::file_size(ConfigFilePath()), kConfigRecordSize);
  // The run's work files go at the end.
  for (const char* work : {"ApError", "ApTemError"}) std::ofstream(work) << "x";
  ShellFinalize();
  EXPECT_FALSE(fs::exists("ApError"));
  EXPECT_FALSE(fs::exists("ApTemError"));
  ClearCommands();
  Hooks() = ShellHooks{};
}

TEST_F(StartupExitTest, HaltCarriesItsExitCode) {
  RegisterCommand('I', [] { DoHalt(3); });
  host.PushKeys({'I'});
  try {
    RunMain("vantu");
    FAIL() << "no halt";
  } catch (const Halt& h) {
    EXPECT_EQ(h.exitCode, 3);
  }
  ClearCommands();
  ShellFinalize();
}

}  // namespace
}  // namespace vantu
