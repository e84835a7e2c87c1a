#include "input/work_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "temporary_directory.h"

namespace qtv {
namespace {

using test::TemporaryDirectory;

TEST(WorkDirectoryFile, JoinsWithOneSlash) {
  const struct {
    std::string_view directory, file, path;
  } cases[] = {
      {"/runs/case1/", "comdin.dat", "/runs/case1/comdin.dat"},
      {"/runs/case1", "u01.unf", "/runs/case1/u01.unf"},
      {"/runs/case1   ", "5y.vit", "/runs/case1/5y.vit"},  // trailing blanks of the text
      {"/", "u2.unf", "/u2.unf"},
  };
  for (const auto& c : cases) EXPECT_EQ(workDirectoryFile(c.directory, c.file), c.path) << c.directory;
}

TEST(RequiredFilesExist, NeedsTheDescriptionAndTheDisplacementFileButNotTheAccelerations) {
  TemporaryDirectory directory;
  const auto touch = [&](const char* name) { std::ofstream(directory.file(name)) << ""; };
  EXPECT_FALSE(requiredFilesExist(directory.path()));
  touch("comdin.dat");
  EXPECT_FALSE(requiredFilesExist(directory.path()));
  touch("u01.unf");
  EXPECT_TRUE(requiredFilesExist(directory.path()));
  EXPECT_TRUE(requiredFilesExist(directory.path() + "/"));
  std::filesystem::remove(directory.file("comdin.dat"));
  std::filesystem::create_directory(directory.file("comdin.dat"));  // a folder is no file
  EXPECT_FALSE(requiredFilesExist(directory.path()));
}

}  // namespace
}  // namespace qtv
