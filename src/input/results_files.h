#pragma once
// The results files u01.unf and u2.unf.
//
// A file is a plain sequence of fixed-length records, numbered from 1, without header or
// markers; record r occupies bytes (r-1)*L .. r*L-1. Every word is a little-endian IEEE-754
// 32-bit real. With n = dofPerNode:
//   u01.unf  L = 32*n bytes: words 1..n displacement, n+1..2n velocity, the rest unused;
//   u2.unf   L = 16*n bytes: words 1..n acceleration, the rest unused.
// The record of node k (1..nodeCount) at step s (0, 1, ...) is s*nodeCount + k in both files.
#include <cstdint>
#include <string>

namespace qtv {

// One results file, open for reading by record number (memory-mapped; nothing is read before a
// record is asked for). Record numbers and offsets are 64-bit.
class ResultsFile {
 public:
  // Opens an existing file; throws FatalError naming it when it is missing or unreadable.
  ResultsFile(std::string path, std::uint64_t recordLength);
  ~ResultsFile();
  ResultsFile(const ResultsFile&) = delete;
  ResultsFile& operator=(const ResultsFile&) = delete;

  const std::string& path() const { return path_; }

  // Copies the first `count` words (at most recordLength / 4) of the record of `node` at `step`
  // into out[0..count-1]. Throws FatalError naming the file, the node and the step when the
  // record lies wholly or partly beyond the end of the file (checked before the read), or when
  // there is no such record (node outside 1..nodeCount, negative step).
  void readRecord(std::int64_t step, std::int32_t node, std::int32_t nodeCount, float* out,
                  std::int32_t count) const;

 private:
  [[noreturn]] void failToRead(std::int64_t step, std::int32_t node, std::int32_t nodeCount) const;

  std::string path_;
  std::uint64_t recordLength_;
  std::uint64_t size_ = 0;
  std::uint64_t recordCount_ = 0;  // whole records the file holds
  const unsigned char* data_ = nullptr;
};

// Both results files of a run, opened u01.unf first.
struct ResultsFiles {
  ResultsFiles(const std::string& workDirectory, std::int32_t dofPerNode);
  ResultsFile displacementsAndVelocities;  // u01.unf
  ResultsFile accelerations;               // u2.unf
};

}  // namespace qtv
