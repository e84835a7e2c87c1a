#pragma once
// The run sequence: work directory, analysis description, dialog, history files.
#include <ostream>
#include <string>

#include "dialog/run_parameters.h"
#include "input/analysis_description.h"
#include "platform/platform.h"

namespace qtv {

// The interactive run from the choice of the work directory to the wait for a key. Returns the
// exit status; a fatal error is written to `errors` as one line (status 1).
int runInteractive(Platform& platform, std::ostream& errors);

// Reads the analysis description and creates the run parameters' node table for it.
AnalysisDescription readDescriptionForRun(const std::string& workDirectory, RunParameters& parameters);

// The production stage: the node-count line, "Creating Files:", both results files opened,
// every selected node's history files, " *QTV finished". Throws FatalError.
void produceHistoryFiles(const std::string& workDirectory, const AnalysisDescription& description,
                         const RunParameters& parameters, Console& console);

}  // namespace qtv
