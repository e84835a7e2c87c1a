#pragma once
// Small results files with known words.
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "temporary_directory.h"

namespace qtv::test {

// Word w (0-based) of node k at step s in the files the tests write: exact in binary, so its
// text is known. u2.unf words are the negatives.
inline float fixtureWord(std::int32_t node, std::int64_t step, int word) {
  return static_cast<float>(node * 100 + step) + static_cast<float>(word) / 8.0f;
}

// Writes `recordCount` records of `wordsPerRecord` little-endian words: record r belongs to
// node (r-1) % nodeCount + 1 at step (r-1) / nodeCount, with words sign * fixtureWord(...).
inline void writeResultsFile(const std::string& path, std::int32_t nodeCount,
                             std::int64_t recordCount, int wordsPerRecord, float sign = 1.0f) {
  std::vector<float> words;
  words.reserve(static_cast<std::size_t>(recordCount * wordsPerRecord));
  for (std::int64_t r = 0; r < recordCount; ++r) {
    for (int w = 0; w < wordsPerRecord; ++w) {
      words.push_back(sign *
                      fixtureWord(static_cast<std::int32_t>(r % nodeCount + 1), r / nodeCount, w));
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(words.data()),
            static_cast<std::streamsize>(words.size() * sizeof(float)));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace qtv::test
