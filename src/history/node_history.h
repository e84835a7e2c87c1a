#pragma once
// The history of one node: its files, the walk through the time window, the lines.
#include <cstdint>
#include <string>

#include "dialog/run_parameters.h"
#include "input/analysis_description.h"
#include "input/results_files.h"
#include "platform/platform.h"

namespace qtv {

// What the extraction of every node of a run shares.
struct ExtractionContext {
  const std::string& workDirectory;
  const AnalysisDescription& description;
  const RunParameters& parameters;
  ResultsFiles& results;
  Console& console;
  bool romanian;
};

// Writes the history files of one node and its console lines; every file it opened is closed
// (and put in place) before it returns. Throws FatalError on a missing record or a file that
// cannot be written; the files of the node are then left as they were. Expects what the
// description reader and the validation guarantee: DT > 0, stepFrequency >= 1.
void extractNodeHistory(ExtractionContext& context, std::int32_t node);

}  // namespace qtv
