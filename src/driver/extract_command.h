#pragma once
// `qtv extract`: one run without a window. The options stand for what a user does in the
// dialog and are played into a scripted dialog, so the same handler and validation decide.
#include <optional>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace qtv {

struct ExtractOptions {
  std::string workDirectory;
  std::string nodes;  // "2,5,10-20" or "all"
  std::optional<std::string> start;
  std::optional<std::string> end;
  std::optional<std::string> every;
  std::optional<std::string> quantities;  // "displacement,velocity,acceleration,phase" or "d,v,a,p"
  std::optional<std::string> directions;  // "x,y,z"
};

// Runs the extraction with the console lines of an interactive run from the validation notices
// to " *QTV finished". Returns 0; throws UsageError (status 2), FatalError (status 1), or
// ProgramEnd (status 2) after a choice the dialog would refuse, whose text goes to `errors`.
int runExtract(const ExtractOptions& options, Console& console, std::ostream& errors);

}  // namespace qtv
