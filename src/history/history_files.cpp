#include "history/history_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "history/number_text.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

constexpr std::array<std::string_view, 4> kExtensions{".dep", ".vit", ".faz", ".acc"};
constexpr std::size_t kLineLength = 2 * kHistoryFieldWidth + 2;
// A whole number of lines, so a flush never splits one.
constexpr std::size_t kBufferSize = 2048 * kLineLength;

}  // namespace

std::string_view extensionOf(Quantity quantity) {
  return kExtensions[static_cast<std::size_t>(quantity)];
}

std::string historyFileName(std::string_view nodeText, int direction, Quantity quantity) {
  std::string name(nodeText);
  name += "xyz"[direction - 1];
  name += extensionOf(quantity);
  return name;
}

HistoryFile::HistoryFile(std::string path)
    : path_(std::move(path)), buffer_(std::make_unique<char[]>(kBufferSize)) {
  // The new content goes to a fresh file beside the old one, so that the old file stays whole
  // until the new one is complete. A name left behind by another process is passed over.
  static unsigned counter = 0;
  const std::string prefix = path_ + ".tmp" + std::to_string(::getpid()) + "-";
  do {
    temporaryPath_ = prefix + std::to_string(++counter);
    descriptor_ = ::open(temporaryPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  } while (descriptor_ < 0 && errno == EEXIST);
  if (descriptor_ < 0) {
    const int error = errno;
    temporaryPath_.clear();  // nothing was created
    fail("cannot create", error);
  }
}

HistoryFile::~HistoryFile() {
  if (descriptor_ >= 0) ::close(descriptor_);
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
}

void HistoryFile::writeLine(float first, float second) {
  if (used_ == kBufferSize) flush();
  char* line = buffer_.get() + used_;
  formatHistoryField(first, line);
  formatHistoryField(second, line + kHistoryFieldWidth);
  line[2 * kHistoryFieldWidth] = '\r';
  line[2 * kHistoryFieldWidth + 1] = '\n';
  used_ += kLineLength;
  receivedLine_ = true;
}

void HistoryFile::flush() {
  const char* next = buffer_.get();
  while (used_ > 0) {
    const ssize_t written = ::write(descriptor_, next, used_);
    if (written < 0) {
      if (errno == EINTR) continue;
      fail("cannot write", errno);
    }
    next += written;
    used_ -= static_cast<std::size_t>(written);
  }
}

void HistoryFile::close() {
  if (descriptor_ < 0) return;
  flush();
  const int descriptor = std::exchange(descriptor_, -1);
  // close() reports write errors that were delayed until then (e.g. on a network file system).
  if (::close(descriptor) != 0) fail("cannot write", errno);
}

void HistoryFile::putInPlace() {
  close();
  if (temporaryPath_.empty()) return;
  // A file without a line keeps its old content; only a missing one is created (empty).
  struct stat old {};
  const bool keepOld = !receivedLine_ && ::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  if (keepOld) {
    ::unlink(temporaryPath_.c_str());
  } else if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    fail("cannot put the new file in place", errno);
  }
  temporaryPath_.clear();
}

void HistoryFile::fail(std::string_view what, int error) {
  if (descriptor_ >= 0) ::close(std::exchange(descriptor_, -1));
  if (!temporaryPath_.empty()) ::unlink(temporaryPath_.c_str());
  temporaryPath_.clear();
  used_ = 0;
  throw FatalError(path_ + ": " + std::string(what) + ": " + std::strerror(error));
}

}  // namespace qtv
