#pragma once
// Test fixtures: a scratch directory and small results files with known words.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace qtv::testing {

// A fresh directory under the system's temporary folder, removed with its content.
class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qtv-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TemporaryDirectory() { std::filesystem::remove_all(path_); }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // The names in the directory, sorted.
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

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

inline void writeTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

inline std::string readTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace qtv::testing
