#include "input/results_files.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <utility>

#include "input/work_directory.h"
#include "platform/program_end.h"

namespace qtv {

// The words are little-endian floats copied as they lie; a big-endian machine would have to
// swap them.
static_assert(std::endian::native == std::endian::little);

namespace {

[[noreturn]] void failToOpen(const std::string& path, const char* reason) {
  throw FatalError(path + ": cannot open: " + reason);
}

// A negative count from the analysis description counts as 0.
std::uint64_t wordsPerQuantity(std::int32_t dofPerNode) {
  return dofPerNode > 0 ? static_cast<std::uint64_t>(dofPerNode) : 0;
}

}  // namespace

ResultsFile::ResultsFile(std::string path, std::uint64_t recordLength)
    : path_(std::move(path)), recordLength_(recordLength) {
  const int descriptor = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) failToOpen(path_, std::strerror(errno));
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) {
    const int error = errno;
    ::close(descriptor);
    failToOpen(path_, std::strerror(error));
  }
  if (!S_ISREG(status.st_mode)) {
    ::close(descriptor);
    failToOpen(path_, "not a regular file");
  }
  size_ = static_cast<std::uint64_t>(status.st_size);
  recordCount_ = recordLength_ == 0 ? 0 : size_ / recordLength_;
  // An empty file cannot be mapped; it holds no record, so every read of it fails anyway.
  if (size_ > 0) {
    void* map = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, descriptor, 0);
    if (map == MAP_FAILED) {
      const int error = errno;
      ::close(descriptor);
      failToOpen(path_, std::strerror(error));
    }
    data_ = static_cast<const unsigned char*>(map);
  }
  // The mapping stays valid without the descriptor.
  ::close(descriptor);
}

ResultsFile::~ResultsFile() {
  if (data_ != nullptr) ::munmap(const_cast<unsigned char*>(data_), size_);
}

void ResultsFile::readRecord(std::int64_t step, std::int32_t node, std::int32_t nodeCount,
                             float* out, std::int32_t count) const {
  const auto k = static_cast<std::uint64_t>(node);
  const auto n = static_cast<std::uint64_t>(nodeCount);
  const auto s = static_cast<std::uint64_t>(step);
  // Record s * n + k must be one of 1..recordCount_; compared without forming a product that
  // could overflow.
  if (step < 0 || node < 1 || node > nodeCount || recordCount_ < k || s > (recordCount_ - k) / n) {
    failToRead(step, node, nodeCount);
  }
  std::memcpy(out, data_ + (s * n + k - 1) * recordLength_, static_cast<std::size_t>(count) * sizeof(float));
}

void ResultsFile::failToRead(std::int64_t step, std::int32_t node, std::int32_t nodeCount) const {
  const std::string what =
      "record of node " + std::to_string(node) + " at step " + std::to_string(step);
  if (step < 0 || node < 1 || node > nodeCount) {
    throw FatalError(path_ + ": there is no " + what + " (nodes 1 to " + std::to_string(nodeCount) +
                     ", steps from 0)");
  }
  const auto s = static_cast<std::uint64_t>(step);
  std::uint64_t product = 0, record = 0;
  const bool representable =
      !__builtin_mul_overflow(s, static_cast<std::uint64_t>(nodeCount), &product) &&
      !__builtin_add_overflow(product, static_cast<std::uint64_t>(node), &record);
  throw FatalError(path_ + ": the " + what + " lies beyond the end of the file (" +
                   (representable ? "record " + std::to_string(record) + ", " : "") +
                   "file holds " + std::to_string(recordCount_) + " records)");
}

ResultsFiles::ResultsFiles(const std::string& workDirectory, std::int32_t dofPerNode)
    : displacementsAndVelocities(workDirectoryFile(workDirectory, "u01.unf"),
                                 32 * wordsPerQuantity(dofPerNode)),
      accelerations(workDirectoryFile(workDirectory, "u2.unf"), 16 * wordsPerQuantity(dofPerNode)) {
}

}  // namespace qtv
