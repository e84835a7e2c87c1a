// The built qtv run interactively on a machine without a display and without a terminal:
// everything is asked and answered on the standard streams.
#include <gtest/gtest.h>

#include "process.h"
#include "work_directory_fixture.h"

namespace qtv {
namespace {

using test::CaseShape;
using test::runProgram;
using test::WorkDirectoryFixture;

TEST(InteractiveEndToEnd, FolderTypedOnStandardInputThenNoDialogCanBeShown) {
  WorkDirectoryFixture work;
  work.writeCase(CaseShape{});
  const auto result = runProgram({QTV_PROGRAM}, work.path() + "/nowhere\n" + work.path() + "\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.standardOutput,
            " Input Working Directory: Directory doesn't exist\n"
            " Input Working Directory:Error: Dialog not opened\n");
  EXPECT_NE(result.standardError.find("'qtv extract WORKDIR --nodes LIST' runs without a window"), std::string::npos)
      << result.standardError;
  EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1) << result.standardError;
}

TEST(InteractiveEndToEnd, FolderWithoutTheRequiredFilesThenCancel) {
  WorkDirectoryFixture empty;
  const auto result = runProgram({QTV_PROGRAM}, empty.path() + "\nc\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.standardOutput,
            " Input Working Directory:[QTV Message]\n"
            " Not all the needed files exist in this directory.\n"
            " Retry for another Browse.\n"
            "Retry or Cancel? [r/c]: ");
  EXPECT_EQ(result.standardError, "");
}

TEST(InteractiveEndToEnd, RetryAsksForTheFolderAgainAndTheEndOfInputIsAnError) {
  WorkDirectoryFixture empty;
  const auto result = runProgram({QTV_PROGRAM}, empty.path() + "\nr\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.standardOutput,
            " Input Working Directory:[QTV Message]\n"
            " Not all the needed files exist in this directory.\n"
            " Retry for another Browse.\n"
            "Retry or Cancel? [r/c]:  Input Working Directory:");
  EXPECT_EQ(result.standardError, "standard input: the input ended while the work directory was asked for\n");
}

}  // namespace
}  // namespace qtv
