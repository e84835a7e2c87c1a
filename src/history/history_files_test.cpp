#include "history/history_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "input/results_files_fixture.h"
#include "platform/program_end.h"

namespace qtv {
namespace {

using test::readTextFile;
using test::fatalMessage;
using test::TemporaryDirectory;
using test::writeTextFile;
using Entries = std::vector<std::string>;


const std::string kOldText = "old line 1\r\nold line 2\r\nold line 3\r\nold line 4\r\n";

struct NameCase {
  const char* nodeText;
  int direction;
  Quantity quantity;
  const char* name;
};

TEST(HistoryFileNameTest, IsNodeDigitsDirectionLetterAndExtension) {
  const NameCase cases[] = {
      {"12", 1, Quantity::Displacement, "12x.dep"},
      {"7", 3, Quantity::Acceleration, "7z.acc"},
      {"1034", 2, Quantity::Velocity, "1034y.vit"},
      {"5", 1, Quantity::PhasePlane, "5x.faz"},
      {"123456", 3, Quantity::PhasePlane, "123456z.faz"},  // every digit, not four
      {"-3", 2, Quantity::Displacement, "-3y.dep"},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(historyFileName(c.nodeText, c.direction, c.quantity), c.name);
  }
}

TEST(HistoryFileTest, WritesTwoFieldsAndCrLfPerLine) {
  TemporaryDirectory directory;
  const std::string path = directory.file("12x.dep");
  HistoryFile file(path);
  EXPECT_EQ(file.path(), path);
  file.writeLine(0.0f, 0.0f);
  file.writeLine(0.2f, -0.0015f);
  file.writeLine(1.5f, 12.5f);
  file.putInPlace();
  EXPECT_EQ(readTextFile(path),
            "  0.0000000E+00  0.0000000E+00\r\n"
            "  0.2000000     -1.5000000E-03\r\n"
            "   1.500000       12.50000    \r\n");
  EXPECT_EQ(directory.entries(), Entries{"12x.dep"});
}

// More lines than the buffer holds: every flush must keep the lines whole and in order.
TEST(HistoryFileTest, KeepsEveryLineAcrossManyFlushes) {
  TemporaryDirectory directory;
  const std::string path = directory.file("1x.vit");
  const std::string even = "  0.0000000E+00  0.0000000E+00\r\n";
  const std::string odd = "   1.500000       12.50000    \r\n";
  std::string expected;
  HistoryFile file(path);
  for (int i = 0; i < 5001; ++i) {
    if (i % 2 == 0) {
      file.writeLine(0.0f, 0.0f);
      expected += even;
    } else {
      file.writeLine(1.5f, 12.5f);
      expected += odd;
    }
  }
  file.putInPlace();
  EXPECT_EQ(readTextFile(path), expected);
}

// Until putInPlace() the old file stays as it was, also after close(); then the new lines
// replace it whole, with nothing of its longer tail left.
TEST(HistoryFileTest, ReplacesALongerOldFileWhenPutInPlace) {
  TemporaryDirectory directory;
  const std::string path = directory.file("3y.acc");
  writeTextFile(path, kOldText);
  HistoryFile file(path);
  file.writeLine(1.5f, 12.5f);
  EXPECT_EQ(readTextFile(path), kOldText);
  file.close();
  EXPECT_EQ(readTextFile(path), kOldText);
  file.putInPlace();
  EXPECT_EQ(readTextFile(path), "   1.500000       12.50000    \r\n");
  EXPECT_EQ(directory.entries(), Entries{"3y.acc"});
  file.putInPlace();  // a second call changes nothing
  EXPECT_EQ(readTextFile(path), "   1.500000       12.50000    \r\n");
}

TEST(HistoryFileTest, WithoutLinesKeepsTheOldFileOrCreatesAnEmptyOne) {
  TemporaryDirectory directory;
  const std::string old = directory.file("4x.dep");
  const std::string missing = directory.file("4z.dep");
  writeTextFile(old, kOldText);
  HistoryFile(old).putInPlace();
  HistoryFile(missing).putInPlace();
  EXPECT_EQ(readTextFile(old), kOldText);
  EXPECT_EQ(readTextFile(missing), "");
  EXPECT_EQ(directory.entries(), (Entries{"4x.dep", "4z.dep"}));
}

TEST(HistoryFileTest, IsCreatedWithTheModeOfANewFile) {
  TemporaryDirectory directory;
  const std::string path = directory.file("9x.dep");
  const mode_t previous = ::umask(022);
  HistoryFile file(path);
  file.writeLine(0.0f, 0.0f);
  file.putInPlace();
  ::umask(previous);
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0644u);
}

// An error elsewhere unwinds through the open file: no temporary is left, the old file stays.
TEST(HistoryFileTest, DestroyedWithoutCloseLeavesTheOldFileAlone) {
  TemporaryDirectory directory;
  const std::string old = directory.file("5x.dep");
  writeTextFile(old, kOldText);
  {
    HistoryFile replacing(old);
    HistoryFile creating(directory.file("5y.dep"));
    replacing.writeLine(1.5f, 12.5f);
    creating.writeLine(1.5f, 12.5f);
  }
  EXPECT_EQ(readTextFile(old), kOldText);
  EXPECT_EQ(directory.entries(), Entries{"5x.dep"});
}

TEST(HistoryFileTest, AFileThatCannotBeCreatedIsAFatalErrorNamingIt) {
  TemporaryDirectory directory;
  const std::string path = directory.file("missing/12x.dep");
  EXPECT_EQ(fatalMessage([&] { HistoryFile file(path); }),
            path + ": cannot create: No such file or directory");
}

// A directory in the way of the file: the new file cannot be put in place, with or without
// lines, and its temporary file goes.
TEST(HistoryFileTest, AFileThatCannotBePutInPlaceIsAFatalErrorNamingIt) {
  for (const bool withLine : {true, false}) {
    TemporaryDirectory directory;
    const std::string path = directory.file("6x.dep");
    std::filesystem::create_directory(path);
    writeTextFile(path + "/keep", "");
    HistoryFile file(path);
    if (withLine) file.writeLine(0.0f, 0.0f);
    EXPECT_EQ(fatalMessage([&] { file.putInPlace(); }),
              path + ": cannot put the new file in place: Is a directory");
    EXPECT_EQ(directory.entries(), Entries{"6x.dep"});
  }
}

// A failing write (here: over the process's file size limit, as a full disk would fail it)
// is reported with its reason; the old file is kept and the temporary removed.
TEST(HistoryFileTest, AFailingWriteIsAFatalErrorNamingTheFile) {
  TemporaryDirectory directory;
  const std::string path = directory.file("7x.dep");
  writeTextFile(path, kOldText);
  HistoryFile file(path);
  for (int i = 0; i < 1000; ++i) file.writeLine(1.5f, 12.5f);

  struct rlimit previous {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  const auto previousHandler = ::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = previous;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string message = fatalMessage([&] { file.close(); });
  ::setrlimit(RLIMIT_FSIZE, &previous);
  ::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(message, path + ": cannot write: File too large");
  EXPECT_EQ(readTextFile(path), kOldText);
  EXPECT_EQ(directory.entries(), Entries{"7x.dep"});
}

}  // namespace
}  // namespace qtv
