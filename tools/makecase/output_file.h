#pragma once
// A file written front to back through a large buffer; every write is checked.
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qtv {

class OutputFile {
 public:
  // Creates or truncates the file. Throws FatalError naming it when that fails.
  explicit OutputFile(std::string path);
  ~OutputFile();  // closes without reporting: after a failure only the first report counts
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void write(std::string_view bytes);
  // Appends the IEEE-754 32-bit value in little-endian byte order.
  void writeFloat(float value) {
    if (used_ + 4 > kBufferSize) flush();
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) buffer_[used_++] = static_cast<char>(bits >> (8 * i));
  }
  // Writes out what is buffered and closes the file. Throws FatalError naming the file.
  void close();

  const std::string& path() const { return path_; }
  // Bytes written so far, buffered ones included.
  std::uint64_t size() const { return flushed_ + used_; }

 private:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
  void flush();

  std::string path_;
  int fd_ = -1;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t flushed_ = 0;
};

}  // namespace qtv
