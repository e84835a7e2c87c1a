#include "driver/run.h"

#include "dialog/parameter_validation.h"
#include "driver/console_messages.h"
#include "history/node_history.h"
#include "input/results_files.h"
#include "input/work_directory.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

// Asks for a work directory until it holds the files a run cannot start without.
std::string chooseWorkDirectory(Platform& platform) {
  std::string lastChosenFile;
  for (;;) {
    std::string workDirectory = selectWorkDirectory(platform, lastChosenFile);
    if (requiredFilesExist(workDirectory)) return workDirectory;
    const auto answer = platform.messageBox.show(
        " Not all the needed files exist in this directory.\n Retry for another Browse.", "QTV Message");
    if (answer == MessageBoxAnswer::Cancel) throw ProgramEnd{0};
  }
}

}  // namespace

AnalysisDescription readDescriptionForRun(const std::string& workDirectory, RunParameters& parameters) {
  AnalysisDescription description = readAnalysisDescription(workDirectory);
  parameters.selectedNodes.assign(static_cast<std::size_t>(std::max(description.nodeCount, 0)), 0);
  return description;
}

void produceHistoryFiles(const std::string& workDirectory, const AnalysisDescription& description,
                         const RunParameters& parameters, Console& console) {
  const bool romanian = romanianFlag(description.languageText);
  console.writeLine(selectedNodesLine(romanian, parameters.selectedCount));
  console.writeLine(" " + std::string(creatingFilesText(romanian)));
  ResultsFiles results(workDirectory, description.dofPerNode);
  ExtractionContext context{workDirectory, description, parameters, results, console, romanian};
  for (std::int32_t i = 0; i < parameters.selectedCount; ++i) {
    extractNodeHistory(context, parameters.selectedNodes[static_cast<std::size_t>(i)]);
  }
  console.writeLine(" *QTV finished");
}

int runInteractive(Platform& platform, std::ostream& errors) {
  try {
    const std::string workDirectory = chooseWorkDirectory(platform);
    RunParameters parameters;
    const AnalysisDescription description = readDescriptionForRun(workDirectory, parameters);
    obtainRunParameters(platform, description, parameters);
    produceHistoryFiles(workDirectory, description, parameters, platform.console);
    platform.console.writeLine("");
    platform.console.writeLine("Press any key");
    platform.console.waitForKey();
    return 0;
  } catch (const ProgramEnd& end) {
    return end.status;
  } catch (const FatalError& error) {
    errors << error.what() << '\n';
    return 1;
  }
}

}  // namespace qtv
