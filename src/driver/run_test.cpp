#include "driver/run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "dialog/dialog_template.h"
#include "platform/scripted/scripted_platform.h"
#include "work_directory_fixture.h"

namespace qtv {
namespace {

using test::CaseShape;
using test::WorkDirectoryFixture;
using Shown = ScriptedMessageBox::Shown;

const Shown kMissingFilesBox{" Not all the needed files exist in this directory.\n Retry for another Browse.",
                             "QTV Message"};

// Nodes 2 and 3, X displacement and velocity, from 0.2 to 0.3.
DialogScript chooseTwoNodes() {
  return {user::ReplaceText{IDC_START_TIME, "0.2"}, user::ReplaceText{IDC_END_TIME, "0.3"},
          user::Click{IDC_VELOCITY},   user::Click{IDC_DOF_X},
          user::Click{IDC_DOF_Z},      user::ToggleItem{IDC_NODES, 3},
          user::ToggleItem{IDC_NODES, 2}, user::PressOk{}};
}

struct InteractiveRun {
  InteractiveRun(std::vector<std::optional<std::string>> chosenFiles, std::vector<std::string> typedLines,
                 std::vector<DialogScript> attempts, std::vector<MessageBoxAnswer> answers = {})
      : scripted{RecordingConsole(std::move(typedLines)), ScriptedFileOpenBox(std::move(chosenFiles)),
                 ScriptedMessageBox(std::move(answers)), ScriptedDialog(std::move(attempts))} {}

  int run() {
    Platform platform = scripted.platform();
    return runInteractive(platform, errors);
  }

  ScriptedPlatform scripted;
  std::ostringstream errors;
};

TEST(InteractiveRun, WritesTheHistoryFilesOfTheChosenNodesAndWaitsForAKey) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{.nodeCount = 4, .restrainedNodes = {1}});
  InteractiveRun run({work.file("notes.txt")}, {}, {chooseTwoNodes()});

  EXPECT_EQ(run.run(), 0);
  const std::string folder = work.path() + "/";
  EXPECT_EQ(run.scripted.console.lines,
            (std::vector<std::string>{" No. of Selected Nodes = 2", " Creating Files:", " Node 3:",
                                      " x: " + folder + "3x.dep", " x: " + folder + "3x.vit",
                                      " * Working for node 3 ...", " Node 4:", " x: " + folder + "4x.dep",
                                      " x: " + folder + "4x.vit", " * Working for node 4 ...", " *QTV finished",
                                      "", "Press any key"}));
  EXPECT_EQ(run.scripted.console.keyWaits, 1);
  // Steps 2 and 3; displacement of node 3 in X = 3 + step/4 + 1/64.
  EXPECT_EQ(work.readText("3x.dep"),
            "  0.2000000       3.515625    \r\n"
            "  0.3000000       3.765625    \r\n");
  EXPECT_EQ(work.readText("4x.vit"),
            "  0.2000000      -4.265625    \r\n"
            "  0.3000000      -4.390625    \r\n");
  EXPECT_TRUE(run.errors.str().empty());
}

TEST(InteractiveRun, FileOpenBoxStartsBesideTheProgramFolderAndRemembersTheLastFile) {
  WorkDirectoryFixture empty;
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  InteractiveRun run({empty.file("a.txt"), work.file("comdin.dat")}, {}, {}, {MessageBoxAnswer::Retry});

  EXPECT_EQ(run.run(), 0);  // the dialog is cancelled
  EXPECT_EQ(run.scripted.messageBox.shown, std::vector<Shown>{kMissingFilesBox});
  const auto& requests = run.scripted.fileOpenBox.requests;
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].title, "Select Any File in the Work Directory");
  EXPECT_EQ(requests[0].filterDescription, "All files");
  EXPECT_EQ(requests[0].filterPattern, "*");
  EXPECT_EQ(requests[0].fileName, "");
  EXPECT_EQ(requests[1].fileName, empty.file("a.txt"));
  const std::string current = std::filesystem::current_path().string();
  EXPECT_EQ(requests[0].initialFolder, current.substr(0, current.size() - 3) + "work");
  EXPECT_EQ(run.scripted.dialog.openCount(), 1);
  EXPECT_TRUE(run.scripted.console.lines.empty());
}

TEST(InteractiveRun, TypedFolderAfterACancelledBox) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  InteractiveRun run({std::nullopt, std::nullopt}, {work.path() + "/missing", work.path() + "   "}, {});

  EXPECT_EQ(run.run(), 0);
  EXPECT_EQ(run.scripted.console.prompts,
            (std::vector<std::string>{" Input Working Directory:", " Input Working Directory:"}));
  EXPECT_EQ(run.scripted.console.lines, std::vector<std::string>{" Directory doesn't exist"});
  EXPECT_EQ(run.scripted.dialog.openCount(), 1);
}

TEST(InteractiveRun, EndsAtOnceOnCancel) {
  WorkDirectoryFixture empty;
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  const struct {
    const char* what;
    std::string chosenFile;
    std::vector<DialogScript> attempts;
  } cases[] = {
      {"missing files box", empty.file("x"), {}},
      {"dialog", work.file("x"), {{user::ToggleItem{IDC_NODES, 1}, user::PressCancel{}}}},
      {"no node box", work.file("x"), {{user::PressOk{}}}},
  };
  for (const auto& c : cases) {
    InteractiveRun run({c.chosenFile}, {}, c.attempts, {MessageBoxAnswer::Cancel});
    EXPECT_EQ(run.run(), 0) << c.what;
    EXPECT_TRUE(run.scripted.console.lines.empty()) << c.what;
    EXPECT_EQ(run.scripted.console.keyWaits, 0) << c.what;
    EXPECT_EQ(work.entries(), (std::vector<std::string>{"comdin.dat", "u01.unf", "u2.unf"})) << c.what;
  }
}

TEST(InteractiveRun, EndOfInputAtTheFolderPromptIsAnError) {
  InteractiveRun run({std::nullopt}, {}, {});
  EXPECT_EQ(run.run(), 1);
  EXPECT_EQ(run.errors.str(), "standard input: the input ended while the work directory was asked for\n");
}

TEST(InteractiveRun, MissingAccelerationFileStopsAfterTheDialog) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  std::filesystem::remove(work.file("u2.unf"));
  InteractiveRun run({work.file("x")}, {}, {{user::ToggleItem{IDC_NODES, 1}, user::PressOk{}}});

  EXPECT_EQ(run.run(), 1);
  EXPECT_EQ(run.scripted.console.lines,
            (std::vector<std::string>{" No. of Selected Nodes = 1", " Creating Files:"}));
  EXPECT_EQ(run.errors.str(), work.file("u2.unf") + ": cannot open: No such file or directory\n");
  EXPECT_FALSE(work.exists("1z.dep"));
}

TEST(InteractiveRun, RomanianRunWithCorrections) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{.nodeCount = 2, .language = "Romana"});
  InteractiveRun run({work.file("x")}, {},
                     {{user::ReplaceText{IDC_START_TIME, "-2"}, user::ReplaceText{IDC_END_TIME, "12.5"},
                       user::ToggleItem{IDC_NODES, 2}, user::PressOk{}}});

  EXPECT_EQ(run.run(), 0);
  EXPECT_EQ(run.scripted.console.lines,
            (std::vector<std::string>{" * tStart can not be <0.", "  It has been set: tStart = 0.0 (Minimum Time).",
                                      " * tEnd = 1.250E+01 can not be > TT =    5.000000E-01(Response Time).",
                                      " It has been set: tEnd = 5.000E-01 (TT).", " Nr. nodurilor selectate = 1",
                                      " Creez Fisierele:", " Nodul 2:", " z: " + work.file("2z.dep"),
                                      " * Lucrez pentru nodul 2 ...", " *QTV finished", "", "Press any key"}));
  // Steps 0 to 5 of the window 0 .. TT.
  const std::string history = work.readText("2z.dep");
  EXPECT_EQ(std::count(history.begin(), history.end(), '\n'), 6);
}

TEST(InteractiveRun, DialogThatCannotBeOpened) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  ScriptedPlatform scripted{RecordingConsole(), ScriptedFileOpenBox({work.file("x")}), ScriptedMessageBox(),
                            ScriptedDialog({}, /*openFails=*/true)};
  Platform platform = scripted.platform();
  std::ostringstream errors;

  EXPECT_EQ(runInteractive(platform, errors), 0);
  EXPECT_EQ(scripted.console.lines, std::vector<std::string>{"Error: Dialog not opened"});
  EXPECT_EQ(scripted.console.keyWaits, 0);
}

}  // namespace
}  // namespace qtv
