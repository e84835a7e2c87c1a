#include "output_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/program_end.h"

namespace qtv {
namespace {

[[noreturn]] void fail(const std::string& path, const char* what, int error) {
  throw FatalError(path + ": " + what + ": " + std::strerror(error));
}

}  // namespace

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)), buffer_(std::make_unique<char[]>(kBufferSize)) {
  fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) fail(path_, "cannot create", errno);
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) ::close(fd_);
}

void OutputFile::write(std::string_view bytes) {
  while (!bytes.empty()) {
    if (used_ == kBufferSize) flush();
    const std::size_t part = std::min(bytes.size(), kBufferSize - used_);
    std::memcpy(buffer_.get() + used_, bytes.data(), part);
    used_ += part;
    bytes.remove_prefix(part);
  }
}

void OutputFile::flush() {
  std::size_t done = 0;
  while (done < used_) {
    const ssize_t n = ::write(fd_, buffer_.get() + done, used_ - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(path_, "cannot write", n < 0 ? errno : ENOSPC);
    done += static_cast<std::size_t>(n);
  }
  flushed_ += used_;
  used_ = 0;
}

void OutputFile::close() {
  flush();
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) fail(path_, "cannot write", errno);
}

}  // namespace qtv
