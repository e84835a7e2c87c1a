#pragma once
// The three ways a run can stop early. They are thrown from deep inside a run and turned into
// the process's exit status in one place (main), so whole runs can also be driven in-process.
#include <stdexcept>
#include <string>

namespace qtv {

// An orderly end at once: Cancel in a box or the dialog (status 0), or a choice that nobody
// can correct in a run without a user (status 2). Nothing more is written to the console.
struct ProgramEnd {
  int status;
};

// An unrecoverable failure: a missing or malformed input file, a record beyond the end of a
// results file, a history file that cannot be written. The message is one line that names
// the file; the exit status is 1.
class FatalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command line that cannot be carried out as given (status 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace qtv
