#pragma once
// History files: one per node, quantity and direction, named <node><x|y|z><extension> in the
// work directory. Every line is two 15-character number fields and CR LF.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qtv {

enum class Quantity { Displacement, Velocity, PhasePlane, Acceleration };

// ".dep", ".vit", ".faz", ".acc" in this order (displacement, velocity, phase plane,
// acceleration).
std::string_view extensionOf(Quantity quantity);

// "12x.dep": the node's digits (all of them, however many), the direction letter (direction
// 1, 2, 3 = x, y, z), the extension.
std::string historyFileName(std::string_view nodeText, int direction, Quantity quantity);

// A history file being written. Lines go through a buffer into a temporary file beside the
// final path; close() completes it and putInPlace() moves it over the old file, so a node's
// files replace the old ones only once all of them are complete. A file that received no line
// keeps its old content (it is created empty when there was none). Destroyed before
// putInPlace(), it removes its temporary file and leaves the old file untouched. Errors throw
// FatalError naming the file.
class HistoryFile {
 public:
  explicit HistoryFile(std::string path);
  ~HistoryFile();
  HistoryFile(const HistoryFile&) = delete;
  HistoryFile& operator=(const HistoryFile&) = delete;

  const std::string& path() const { return path_; }
  // Appends one line: the two fields and CR LF. No system call or allocation per line.
  void writeLine(float first, float second);
  // Writes what is buffered and closes the temporary file; a second call does nothing.
  void close();
  // Moves the closed file over the old one (or keeps the old one when no line came).
  void putInPlace();

 private:
  void flush();
  // Removes the temporary file and throws FatalError naming the file with `what` and `error`.
  [[noreturn]] void fail(std::string_view what, int error);

  std::string path_;
  std::string temporaryPath_;  // empty once the temporary file is gone (moved or removed)
  int descriptor_ = -1;
  bool receivedLine_ = false;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace qtv
