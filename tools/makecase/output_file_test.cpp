#include "output_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/program_end.h"

namespace qtv {
namespace {

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(OutputFileTest, WritesFloatsLittleEndianAndTextAcrossBufferBoundaries) {
  const std::string path = testing::TempDir() + "output_file_test.bin";
  OutputFile file(path);
  file.writeFloat(1.0f);                 // 0x3F800000
  file.writeFloat(-2.5f);                // 0xC0200000
  const std::string big(3u << 19, 'x');  // one and a half buffers
  file.write(big);
  file.write("end");
  file.close();
  EXPECT_EQ(file.size(), 8 + big.size() + 3);
  const std::string content = contentOf(path);
  ASSERT_EQ(content.size(), file.size());
  EXPECT_EQ(content.substr(0, 8), std::string("\x00\x00\x80\x3F\x00\x00\x20\xC0", 8));
  EXPECT_EQ(content.substr(8, big.size()), big);
  EXPECT_EQ(content.substr(content.size() - 3), "end");
}

TEST(OutputFileTest, AFullDiskIsReportedNamingTheFile) {
  OutputFile file("/dev/full");
  file.write("some bytes");
  try {
    file.close();
    ADD_FAILURE() << "a write to a full disk passed";
  } catch (const FatalError& e) {
    EXPECT_STREQ(e.what(), "/dev/full: cannot write: No space left on device");
  }
}

TEST(OutputFileTest, AFileThatCannotBeCreatedIsReportedNamingIt) {
  try {
    OutputFile file("/nonexistent-folder/u01.unf");
    ADD_FAILURE() << "created a file in a missing folder";
  } catch (const FatalError& e) {
    EXPECT_STREQ(e.what(), "/nonexistent-folder/u01.unf: cannot create: No such file or directory");
  }
}

}  // namespace
}  // namespace qtv
