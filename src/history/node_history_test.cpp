#include "history/node_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/number_text.h"
#include "input/results_files_fixture.h"
#include "platform/program_end.h"

namespace qtv {
namespace {

using test::fixtureWord;
using test::readTextFile;
using test::fatalMessage;
using test::TemporaryDirectory;
using test::writeResultsFile;
using test::writeTextFile;
using Lines = std::vector<std::string>;

class RecordingConsole : public Console {
 public:
  void writeLine(std::string_view text) override { lines.emplace_back(text); }
  void writePrompt(std::string_view text) override { lines.emplace_back(text); }
  std::optional<std::string> readLine() override { return std::nullopt; }
  void waitForKey() override {}
  Lines lines;
};

std::string field(float value) {
  std::string text(kHistoryFieldWidth, '?');
  formatHistoryField(value, text.data());
  return text;
}

std::string line(float first, float second) { return field(first) + field(second) + "\r\n"; }

const std::string kOldText = std::string(40, '#') + "\r\n" + std::string(40, '#') + "\r\n" +
                             std::string(40, '#') + "\r\n" + std::string(40, '#') + "\r\n" +
                             std::string(40, '#') + "\r\n" + std::string(40, '#') + "\r\n";

// A model of 3 nodes with 3 degrees of freedom; u01.unf and u2.unf hold the words of
// fixtureWord (u2.unf negated) for steps 0 .. storedSteps-1.
class NodeHistoryTest : public ::testing::Test {
 protected:
  static constexpr std::int32_t kNodeCount = 3;

  NodeHistoryTest() {
    description.nodeCount = kNodeCount;
    description.dofPerNode = 3;
    description.DT = 0.1f;
    description.TT = 1.0f;
    parameters.stepFrequency = 1;
  }

  void storeSteps(std::int64_t u01Steps, std::int64_t u2Steps) {
    writeResultsFile(directory.file("u01.unf"), kNodeCount, u01Steps * kNodeCount, 24);
    writeResultsFile(directory.file("u2.unf"), kNodeCount, u2Steps * kNodeCount, 12, -1.0f);
  }

  void extract(std::int32_t node, bool romanian = false) {
    extractIn(directory.path(), node, romanian);
  }

  void extractIn(const std::string& historyDirectory, std::int32_t node, bool romanian = false) {
    ResultsFiles results(directory.path(), description.dofPerNode);
    ExtractionContext context{historyDirectory, description, parameters,
                              results,          console,     romanian};
    extractNodeHistory(context, node);
  }


  TemporaryDirectory directory;
  AnalysisDescription description;
  RunParameters parameters;
  RecordingConsole console;
};

struct WindowCase {
  const char* name;
  float tStart, tEnd, DT;
  std::int32_t stepFrequency;
  std::vector<std::int64_t> steps;
  std::vector<const char*> timeFields;
};

class StepWindowTest : public NodeHistoryTest, public ::testing::WithParamInterface<WindowCase> {};

// Node 2, displacement X, over an old file longer than any new one: the file ends up with the
// lines of exactly the visited steps (or keeps its old content when none is visited).
TEST_P(StepWindowTest, VisitsTheStepsOfTheWindow) {
  const WindowCase& c = GetParam();
  storeSteps(10, 10);
  description.DT = c.DT;
  parameters.tStart = c.tStart;
  parameters.tEnd = c.tEnd;
  parameters.stepFrequency = c.stepFrequency;
  parameters.wantDisplacement = true;
  parameters.wantDirection = {true, false, false};
  writeTextFile(directory.file("2x.dep"), kOldText);

  extract(2);

  std::string expected;
  for (std::size_t i = 0; i < c.steps.size(); ++i) {
    expected += std::string(c.timeFields[i]) + field(fixtureWord(2, c.steps[i], 0)) + "\r\n";
  }
  EXPECT_EQ(readTextFile(directory.file("2x.dep")), c.steps.empty() ? kOldText : expected);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, StepWindowTest,
    ::testing::Values(
        WindowCase{"FromTimeZero",
                   0.0f,
                   0.2f,
                   0.1f,
                   1,
                   {0, 1, 2},
                   {"  0.0000000E+00", "  0.1000000    ", "  0.2000000    "}},
        WindowCase{"FirstStepBeforeTStart",
                   0.25f,
                   0.5f,
                   0.1f,
                   1,
                   {2, 3, 4, 5},
                   {"  0.2000000    ", "  0.3000000    ", "  0.4000000    ", "  0.5000000    "}},
        WindowCase{"TStartEqualsTEnd", 0.3f, 0.3f, 0.1f, 1, {3}, {"  0.3000000    "}},
        WindowCase{"EveryOtherStep",
                   0.0f,
                   0.1f,
                   0.02f,
                   2,
                   {0, 2, 4},
                   {"  0.0000000E+00", "  3.9999999E-02", "  7.9999998E-02"}},
        WindowCase{"TimesFromTheIndex",
                   0.0f,
                   0.12f,
                   0.02f,
                   1,
                   {0, 1, 2, 3, 4, 5, 6},
                   {"  0.0000000E+00", "  2.0000000E-02", "  3.9999999E-02", "  5.9999999E-02",
                    "  7.9999998E-02", "  9.9999994E-02", "  0.1200000    "}},
        WindowCase{"NoStep", 0.25f, 0.1f, 0.1f, 1, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NodeHistoryTest, AWindowWithoutStepKeepsOldFilesAndCreatesMissingOnesEmpty) {
  storeSteps(10, 10);
  parameters.tStart = 0.5f;
  parameters.tEnd = 0.2f;
  parameters.wantVelocity = true;
  parameters.wantDirection = {true, true, false};
  writeTextFile(directory.file("1x.vit"), kOldText);

  extract(1);

  EXPECT_EQ(readTextFile(directory.file("1x.vit")), kOldText);
  EXPECT_EQ(readTextFile(directory.file("1y.vit")), "");
  EXPECT_EQ(directory.entries(), (Lines{"1x.vit", "1y.vit", "u01.unf", "u2.unf"}));
}

// X and Z of three directions, every quantity: eight files in the order of the quantities,
// each announced on the console, with the values of the right words.
TEST_F(NodeHistoryTest, WritesEveryWantedQuantityAndDirection) {
  storeSteps(2, 2);
  parameters.tStart = 0.0f;
  parameters.tEnd = 0.1f;
  parameters.wantDisplacement = parameters.wantVelocity = true;
  parameters.wantPhasePlane = parameters.wantAcceleration = true;
  parameters.wantDirection = {true, false, true};

  extract(2);

  const std::string d = directory.path() + "/";
  EXPECT_EQ(console.lines,
            (Lines{" Node 2:", " x: " + d + "2x.dep", " z: " + d + "2z.dep", " x: " + d + "2x.vit",
                   " z: " + d + "2z.vit", "    " + d + "2x.faz", "    " + d + "2z.faz",
                   " x: " + d + "2x.acc", " z: " + d + "2z.acc", " * Working for node 2 ..."}));
  const std::string t0 = "  0.0000000E+00";
  const std::string t1 = "  0.1000000    ";
  // u01.unf words: displacement x, y, z = +0, +0.125, +0.25; velocity x, y, z = +0.375,
  // +0.5, +0.625; u2.unf: acceleration x, z = -(+0), -(+0.25).
  const struct {
    const char* name;
    std::string text;
  } files[] = {
      {"2x.dep", t0 + "   200.0000    \r\n" + t1 + "   201.0000    \r\n"},
      {"2z.dep", t0 + "   200.2500    \r\n" + t1 + "   201.2500    \r\n"},
      {"2x.vit", t0 + "   200.3750    \r\n" + t1 + "   201.3750    \r\n"},
      {"2z.vit", t0 + "   200.6250    \r\n" + t1 + "   201.6250    \r\n"},
      {"2x.faz", "   200.0000       200.3750    \r\n   201.0000       201.3750    \r\n"},
      {"2z.faz", "   200.2500       200.6250    \r\n   201.2500       201.6250    \r\n"},
      {"2x.acc", t0 + "  -200.0000    \r\n" + t1 + "  -201.0000    \r\n"},
      {"2z.acc", t0 + "  -200.2500    \r\n" + t1 + "  -201.2500    \r\n"},
  };
  for (const auto& file : files) {
    EXPECT_EQ(readTextFile(directory.file(file.name)), file.text) << file.name;
  }
  EXPECT_EQ(directory.entries().size(), 10u);
}

TEST_F(NodeHistoryTest, RomanianFlagChangesTheNodeLines) {
  storeSteps(2, 2);
  parameters.tEnd = 0.1f;
  parameters.wantDisplacement = parameters.wantPhasePlane = true;
  parameters.wantDirection = {false, true, false};

  extract(3, true);

  const std::string d = directory.path() + "/";
  EXPECT_EQ(console.lines, (Lines{" Nodul 3:", " y: " + d + "3y.dep", "    " + d + "3y.faz",
                                  " * Lucrez pentru nodul 3 ..."}));
}

// Only accelerations: u01.unf holds no record and is never read.
TEST_F(NodeHistoryTest, AccelerationAloneReadsOnlyU2) {
  storeSteps(0, 3);
  parameters.tEnd = 0.2f;
  parameters.wantAcceleration = true;
  parameters.wantDirection = {false, false, true};

  extract(1);

  EXPECT_EQ(readTextFile(directory.file("1z.acc")), line(0.0f, -fixtureWord(1, 0, 2)) +
                                                        line(0.1f, -fixtureWord(1, 1, 2)) +
                                                        line(0.2f, -fixtureWord(1, 2, 2)));
  EXPECT_EQ(directory.entries(), (Lines{"1z.acc", "u01.unf", "u2.unf"}));
}

// Phase plane alone: u01.unf is read, u2.unf (holding no record) is not, only .faz is written.
TEST_F(NodeHistoryTest, PhasePlaneAloneWritesOnlyFazFiles) {
  storeSteps(3, 0);
  parameters.tEnd = 0.1f;
  parameters.wantPhasePlane = true;
  parameters.wantDirection = {true, false, false};

  extract(3);

  EXPECT_EQ(readTextFile(directory.file("3x.faz")),
            line(fixtureWord(3, 0, 0), fixtureWord(3, 0, 3)) +
                line(fixtureWord(3, 1, 0), fixtureWord(3, 1, 3)));
  EXPECT_EQ(directory.entries(), (Lines{"3x.faz", "u01.unf", "u2.unf"}));
}

TEST_F(NodeHistoryTest, NoFileWantedStillWritesTheNodeLines) {
  storeSteps(0, 0);
  parameters.tEnd = 0.5f;
  parameters.wantDirection = {true, true, true};

  extract(2);

  EXPECT_EQ(console.lines, (Lines{" Node 2:", " * Working for node 2 ..."}));
  EXPECT_EQ(directory.entries(), (Lines{"u01.unf", "u2.unf"}));
}

// A wanted quantity without a chosen direction still walks the window and reads its records.
TEST_F(NodeHistoryTest, NoDirectionChosenStillReadsTheRecords) {
  storeSteps(1, 1);
  parameters.tEnd = 0.1f;
  parameters.wantAcceleration = true;

  EXPECT_EQ(fatalMessage([&] { extract(2); }),
            directory.file("u2.unf") +
                ": the record of node 2 at step 1 lies beyond the end of the file (record 5, "
                "file holds 3 records)");
  EXPECT_EQ(directory.entries(), (Lines{"u01.unf", "u2.unf"}));
}

// The window runs past the stored steps: the run stops with the missing record, and no
// history file of the node is touched or left half written.
TEST_F(NodeHistoryTest, ARecordBeyondTheEndStopsWithoutTouchingTheFiles) {
  storeSteps(4, 10);
  parameters.tEnd = 0.5f;
  parameters.wantDisplacement = parameters.wantAcceleration = true;
  parameters.wantDirection = {true, false, false};
  writeTextFile(directory.file("2x.dep"), kOldText);

  EXPECT_EQ(fatalMessage([&] { extract(2); }),
            directory.file("u01.unf") +
                ": the record of node 2 at step 4 lies beyond the end of the file (record 14, "
                "file holds 12 records)");
  EXPECT_EQ(readTextFile(directory.file("2x.dep")), kOldText);
  EXPECT_EQ(directory.entries(), (Lines{"2x.dep", "u01.unf", "u2.unf"}));
}

TEST_F(NodeHistoryTest, AHistoryFileThatCannotBeCreatedIsAFatalErrorNamingIt) {
  storeSteps(2, 2);
  parameters.wantDisplacement = true;
  parameters.wantDirection = {true, false, false};
  const std::string missing = directory.file("missing");

  EXPECT_EQ(fatalMessage([&] { extractIn(missing, 2); }),
            missing + "/2x.dep: cannot create: No such file or directory");
  EXPECT_EQ(console.lines, Lines{" Node 2:"});
}

// Node numbers are not limited to four digits.
TEST_F(NodeHistoryTest, AFiveDigitNodeNamesItsFilesWithEveryDigit) {
  description.nodeCount = 10000;
  writeResultsFile(directory.file("u01.unf"), 10000, 10000, 24);
  writeResultsFile(directory.file("u2.unf"), 10000, 10000, 12);
  parameters.wantDisplacement = true;
  parameters.wantDirection = {false, true, false};

  extract(10000);

  EXPECT_EQ(readTextFile(directory.file("10000y.dep")), line(0.0f, fixtureWord(10000, 0, 1)));
  EXPECT_EQ(console.lines[0], " Node 10000:");
}

}  // namespace
}  // namespace qtv
