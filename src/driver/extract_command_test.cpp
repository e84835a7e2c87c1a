#include "driver/extract_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/program_end.h"
#include "platform/scripted/scripted_platform.h"
#include "work_directory_fixture.h"

namespace qtv {
namespace {

using test::CaseShape;
using test::WorkDirectoryFixture;

struct Extract {
  explicit Extract(ExtractOptions options) : options(std::move(options)) {}
  int run() { return runExtract(options, console, errors); }
  ExtractOptions options;
  RecordingConsole console;
  std::ostringstream errors;
};

// Node 1 restrained: the list offers nodes 2 to 5.
CaseShape fiveNodes(std::int32_t dofPerNode = 3) {
  return CaseShape{.nodeCount = 5, .dofPerNode = dofPerNode, .restrainedNodes = {1}};
}

std::vector<std::string> historyFiles(const WorkDirectoryFixture& work) {
  std::vector<std::string> names;
  for (const auto& name : work.entries()) {
    if (name != "comdin.dat" && name != "u01.unf" && name != "u2.unf") names.push_back(name);
  }
  return names;
}

TEST(ExtractCommand, OptionsActAsTheUserInTheDialog) {
  WorkDirectoryFixture work;
  work.writeCase(fiveNodes());
  const struct {
    std::string nodes;
    std::optional<std::string> quantities, directions;
    std::vector<std::string> files;
  } cases[] = {
      {"2", std::nullopt, std::nullopt, {"2z.dep"}},
      {"3-4", "a,p", "x,y", {"3x.acc", "3x.faz", "3y.acc", "3y.faz", "4x.acc", "4x.faz", "4y.acc", "4y.faz"}},
      {"5,2", "velocity", "z", {"2z.vit", "5z.vit"}},
      {"all", "d", "x", {"2x.dep", "3x.dep", "4x.dep", "5x.dep"}},
  };
  for (const auto& c : cases) {
    for (const auto& name : historyFiles(work)) std::filesystem::remove(work.file(name));
    Extract extract({work.path(), c.nodes, std::nullopt, std::nullopt, std::nullopt, c.quantities, c.directions});
    EXPECT_EQ(extract.run(), 0) << c.nodes;
    EXPECT_EQ(historyFiles(work), c.files) << c.nodes;
    EXPECT_EQ(extract.console.lines.back(), " *QTV finished");
  }
}

TEST(ExtractCommand, TimeWindowAndStepFrequencyAreTypedIntoTheForm) {
  WorkDirectoryFixture work;
  work.writeCase(fiveNodes());
  Extract extract({work.path(), "2", "0.1", "1d-1abc", "2", "d", "x"});
  EXPECT_EQ(extract.run(), 0);
  // End Time reads as 0.1 (the conversion stops at "abc"): step 1 only, step 3 lies beyond it.
  EXPECT_EQ(work.readText("2x.dep"), "  0.1000000       2.265625    \r\n");
}

TEST(ExtractCommand, CorrectionsAreReportedOnTheConsole) {
  WorkDirectoryFixture work;
  work.writeCase(fiveNodes());
  Extract extract({work.path(), "2", "-1", "99", std::nullopt, std::nullopt, std::nullopt});
  EXPECT_EQ(extract.run(), 0);
  EXPECT_EQ(std::vector<std::string>(extract.console.lines.begin(), extract.console.lines.begin() + 5),
            (std::vector<std::string>{" * tStart can not be <0.", "  It has been set: tStart = 0.0 (Minimum Time).",
                                      " * tEnd = 9.900E+01 can not be > TT =    5.000000E-01(Response Time).",
                                      " It has been set: tEnd = 5.000E-01 (TT).", " No. of Selected Nodes = 1"}));
}

TEST(ExtractCommand, ChoicesTheDialogRefusesEndWithStatusTwoAndNoFile) {
  WorkDirectoryFixture work;
  work.writeCase(fiveNodes());
  const struct {
    std::optional<std::string> start, every;
    std::string message;
  } cases[] = {
      {"0.5", std::nullopt, "QTV: Message: tStart must be less than TT (End Time)!\n"},
      {std::nullopt, "0", "QTV: Message: Step Frequency must be a positive integer!\n"},
  };
  for (const auto& c : cases) {
    Extract extract({work.path(), "2", c.start, std::nullopt, c.every, std::nullopt, std::nullopt});
    try {
      extract.run();
      ADD_FAILURE() << c.message;
    } catch (const ProgramEnd& end) {
      EXPECT_EQ(end.status, 2);
    }
    EXPECT_EQ(extract.errors.str(), c.message);
    EXPECT_TRUE(extract.console.lines.empty());
    EXPECT_TRUE(historyFiles(work).empty());
  }
}

TEST(ExtractCommand, UsageErrorsNameWhatIsWrong) {
  WorkDirectoryFixture work;
  work.writeCase(fiveNodes(2));
  WorkDirectoryFixture empty;
  const struct {
    std::string folder, nodes;
    std::optional<std::string> quantities, directions;
    std::string message;
  } cases[] = {
      {work.path(), "1", {}, {}, "node 1 is not offered by the node list"},
      {work.path(), "2,x", {}, {}, "--nodes: 'x' in '2,x' is not a node number"},
      {work.path(), "4-2", {}, {}, "--nodes: the range '4-2' runs backwards"},
      {work.path(), "2", "d,speed", {}, "--quantities: unknown name 'speed' in 'd,speed'"},
      {work.path(), "2", {}, "x,z", "--directions: z needs three degrees of freedom per node; this model has 2"},
      {empty.path(), "2", {}, {}, empty.path() + ": not a work directory: comdin.dat and u01.unf are needed"},
  };
  for (const auto& c : cases) {
    Extract extract({c.folder, c.nodes, std::nullopt, std::nullopt, std::nullopt, c.quantities, c.directions});
    try {
      extract.run();
      ADD_FAILURE() << c.message;
    } catch (const UsageError& error) {
      EXPECT_EQ(std::string(error.what()), c.message);
    }
    EXPECT_TRUE(historyFiles(work).empty());
  }
}

}  // namespace
}  // namespace qtv
