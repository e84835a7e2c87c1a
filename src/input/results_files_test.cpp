#include "input/results_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <functional>
#include <vector>

#include "input/results_files_fixture.h"
#include "platform/program_end.h"

namespace qtv {
namespace {

using test::fixtureWord;
using test::fatalMessage;
using test::TemporaryDirectory;
using test::writeResultsFile;


struct RecordCase {
  int wordsPerRecord;  // 8n for u01.unf, 4n for u2.unf
  int wordsRead;
  std::int64_t step;
  std::int32_t node;
};

class ReadRecordTest : public ::testing::TestWithParam<RecordCase> {};

// nodeCount 4, steps 0..2: every record holds different words, so a wrong offset shows.
TEST_P(ReadRecordTest, ReadsTheWordsOfTheNodeAtTheStep) {
  const RecordCase c = GetParam();
  TemporaryDirectory directory;
  const std::string path = directory.file("results.unf");
  writeResultsFile(path, 4, 12, c.wordsPerRecord);
  const ResultsFile file(path, 4 * static_cast<std::uint64_t>(c.wordsPerRecord));

  std::vector<float> words(static_cast<std::size_t>(c.wordsRead + 1), -1.0f);
  file.readRecord(c.step, c.node, 4, words.data(), c.wordsRead);
  for (int w = 0; w < c.wordsRead; ++w) {
    EXPECT_EQ(words[static_cast<std::size_t>(w)], fixtureWord(c.node, c.step, w)) << "word " << w;
  }
  EXPECT_EQ(words.back(), -1.0f) << "wrote past the requested words";
}

INSTANTIATE_TEST_SUITE_P(
    Records, ReadRecordTest,
    ::testing::Values(RecordCase{24, 6, 0, 1},   // u01.unf, n 3: record 1 at byte 0
                      RecordCase{24, 6, 1, 2},   // record 6 at byte 480
                      RecordCase{24, 6, 2, 4},   // the last record
                      RecordCase{12, 3, 1, 2},   // u2.unf, n 3: record 6 at byte 240
                      RecordCase{16, 4, 2, 3},   // u01.unf, n 2: 64-byte records
                      RecordCase{8, 2, 1, 1}));  // u2.unf, n 2: 32-byte records

struct MissingRecordCase {
  const char* name;
  std::int64_t fileBytes;
  std::int64_t step;
  std::int32_t node;
  const char* message;  // after "<path>: "
};

class MissingRecordTest : public ::testing::TestWithParam<MissingRecordCase> {};

// 96-byte records, nodeCount 4.
TEST_P(MissingRecordTest, IsAFatalErrorNamingTheFile) {
  const MissingRecordCase c = GetParam();
  TemporaryDirectory directory;
  const std::string path = directory.file("u01.unf");
  writeResultsFile(path, 4, (c.fileBytes + 95) / 96, 24);
  ASSERT_EQ(::truncate(path.c_str(), c.fileBytes), 0);
  const ResultsFile file(path, 96);
  std::array<float, 6> words{};
  EXPECT_EQ(fatalMessage([&] { file.readRecord(c.step, c.node, 4, words.data(), 6); }),
            path + ": " + c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Records, MissingRecordTest,
    ::testing::Values(
        MissingRecordCase{"AfterTheLastStep", 12 * 96, 3, 1,
                          "the record of node 1 at step 3 lies beyond the end of the file "
                          "(record 13, file holds 12 records)"},
        MissingRecordCase{"PartlyBeyondTheEnd", 13 * 96 - 4, 3, 1,
                          "the record of node 1 at step 3 lies beyond the end of the file "
                          "(record 13, file holds 12 records)"},
        MissingRecordCase{"LastNodeOfAShortStep", 11 * 96, 2, 4,
                          "the record of node 4 at step 2 lies beyond the end of the file "
                          "(record 12, file holds 11 records)"},
        MissingRecordCase{"EmptyFile", 0, 0, 1,
                          "the record of node 1 at step 0 lies beyond the end of the file "
                          "(record 1, file holds 0 records)"},
        MissingRecordCase{"NodeZero", 12 * 96, 1, 0,
                          "there is no record of node 0 at step 1 (nodes 1 to 4, steps from 0)"},
        MissingRecordCase{"NodeAboveNodeCount", 12 * 96, 0, 5,
                          "there is no record of node 5 at step 0 (nodes 1 to 4, steps from 0)"},
        MissingRecordCase{"NegativeStep", 12 * 96, -1, 4,
                          "there is no record of node 4 at step -1 (nodes 1 to 4, steps from 0)"},
        MissingRecordCase{"StepWhoseRecordNumberOverflows", 12 * 96, std::int64_t{1} << 62, 1,
                          "the record of node 1 at step 4611686018427387904 lies beyond the end "
                          "of the file (file holds 12 records)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Record 5 000 000 007 lies beyond 2^32: in 32-bit arithmetic it would wrap round to another
// node's record (or below 1). A sparse file makes it addressable without using the disk.
TEST(ResultsFileTest, ReadsARecordNumberBeyond32Bits) {
  TemporaryDirectory directory;
  const std::string path = directory.file("u01.unf");
  constexpr std::int32_t nodeCount = 100000;
  constexpr std::int64_t step = 50000;
  constexpr std::int32_t node = 7;
  constexpr std::int64_t record = step * nodeCount + node;
  static_assert(record > (std::int64_t{1} << 32));

  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(descriptor, 0);
  const std::array<float, 6> written{1.5f, -2.25f, 3.0f, 4.0f, 5.5f, -6.0f};
  ASSERT_EQ(::pwrite(descriptor, written.data(), sizeof written, (record - 1) * 96),
            static_cast<ssize_t>(sizeof written));
  ASSERT_EQ(::ftruncate(descriptor, record * 96), 0);
  ::close(descriptor);

  const ResultsFile file(path, 96);
  std::array<float, 6> words{};
  file.readRecord(step, node, nodeCount, words.data(), 6);
  EXPECT_EQ(words, written);
  EXPECT_EQ(fatalMessage([&] { file.readRecord(step, node + 1, nodeCount, words.data(), 6); }),
            path +
                ": the record of node 8 at step 50000 lies beyond the end of the file "
                "(record 5000000008, file holds 5000000007 records)");
}

TEST(ResultsFileTest, AMissingFileIsAFatalErrorNamingIt) {
  TemporaryDirectory directory;
  const std::string path = directory.file("u01.unf");
  EXPECT_EQ(fatalMessage([&] { ResultsFile file(path, 96); }),
            path + ": cannot open: No such file or directory");
  EXPECT_EQ(fatalMessage([&] { ResultsFile file(directory.path(), 96); }),
            directory.path() + ": cannot open: not a regular file");
}

TEST(ResultsFilesTest, OpensU01FirstThenU2) {
  TemporaryDirectory directory;
  EXPECT_EQ(fatalMessage([&] { ResultsFiles files(directory.path(), 3); }),
            directory.file("u01.unf") + ": cannot open: No such file or directory");
  writeResultsFile(directory.file("u01.unf"), 4, 12, 24);
  EXPECT_EQ(fatalMessage([&] { ResultsFiles files(directory.path(), 3); }),
            directory.file("u2.unf") + ": cannot open: No such file or directory");
}

// n 2: 64-byte records in u01.unf, 32-byte records in u2.unf.
TEST(ResultsFilesTest, RecordLengthsFollowTheDegreesOfFreedom) {
  TemporaryDirectory directory;
  writeResultsFile(directory.file("u01.unf"), 4, 12, 16);
  writeResultsFile(directory.file("u2.unf"), 4, 12, 8, -1.0f);
  const ResultsFiles files(directory.path() + "/", 2);
  EXPECT_EQ(files.displacementsAndVelocities.path(), directory.file("u01.unf"));
  EXPECT_EQ(files.accelerations.path(), directory.file("u2.unf"));

  std::array<float, 4> displacementsAndVelocities{};
  files.displacementsAndVelocities.readRecord(2, 3, 4, displacementsAndVelocities.data(), 4);
  EXPECT_EQ(displacementsAndVelocities,
            (std::array<float, 4>{302.0f, 302.125f, 302.25f, 302.375f}));
  std::array<float, 2> accelerations{};
  files.accelerations.readRecord(2, 3, 4, accelerations.data(), 2);
  EXPECT_EQ(accelerations, (std::array<float, 2>{-302.0f, -302.125f}));
}

}  // namespace
}  // namespace qtv
