#include "driver/extract_command.h"

#include <algorithm>
#include <charconv>
#include <span>
#include <set>
#include <vector>

#include "dialog/dialog_template.h"
#include "dialog/parameter_validation.h"
#include "driver/run.h"
#include "input/work_directory.h"
#include "platform/program_end.h"
#include "platform/scripted/scripted_dialog.h"
#include "platform/scripted/scripted_platform.h"

namespace qtv {

namespace {

// Nobody is there to answer a Retry/Cancel box: its text goes to standard error and the run
// ends without writing any file.
class RefusingMessageBox : public MessageBox {
 public:
  explicit RefusingMessageBox(std::ostream& errors) : errors_(errors) {}
  MessageBoxAnswer show(std::string_view text, std::string_view caption) override {
    errors_ << caption << ':';
    for (char c : text) errors_ << (c == '\n' ? ' ' : c);
    errors_ << '\n';
    throw ProgramEnd{2};
  }

 private:
  std::ostream& errors_;
};

std::vector<std::string_view> splitList(std::string_view list) {
  std::vector<std::string_view> parts;
  for (;;) {
    const auto comma = list.find(',');
    parts.push_back(list.substr(0, comma));
    if (comma == std::string_view::npos) return parts;
    list.remove_prefix(comma + 1);
  }
}

std::int32_t nodeNumber(std::string_view text, std::string_view list) {
  std::int32_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size() || number < 1) {
    throw UsageError("--nodes: '" + std::string(text) + "' in '" + std::string(list) + "' is not a node number");
  }
  return number;
}

// "2,5,10-20" in ascending order without repeats.
std::vector<std::int32_t> nodeNumbers(std::string_view list) {
  std::set<std::int32_t> nodes;
  for (const auto part : splitList(list)) {
    const auto dash = part.find('-');
    if (dash == std::string_view::npos) {
      nodes.insert(nodeNumber(part, list));
      continue;
    }
    const auto first = nodeNumber(part.substr(0, dash), list);
    const auto last = nodeNumber(part.substr(dash + 1), list);
    if (last < first) throw UsageError("--nodes: the range '" + std::string(part) + "' runs backwards");
    for (auto node = first; node <= last; ++node) nodes.insert(node);
  }
  return {nodes.begin(), nodes.end()};
}

struct Choice {
  std::string_view longName;
  std::string_view shortName;
  int controlId;
};

// The check boxes the user ticks for a list of names; the others are cleared.
std::vector<UserAction> checkBoxActions(std::string_view option, const std::string& list,
                                        std::span<const Choice> choices) {
  std::set<int> wanted;
  for (const auto name : splitList(list)) {
    const auto choice = std::find_if(choices.begin(), choices.end(), [&](const Choice& c) {
      return name == c.longName || name == c.shortName;
    });
    if (choice == choices.end()) {
      throw UsageError(std::string(option) + ": unknown name '" + std::string(name) + "' in '" + list + "'");
    }
    wanted.insert(choice->controlId);
  }
  std::vector<UserAction> actions;
  for (const auto& choice : choices) actions.push_back(user::Check{choice.controlId, wanted.contains(choice.controlId)});
  return actions;
}

constexpr Choice kQuantities[] = {{"displacement", "d", IDC_DISPLACEMENT},
                                  {"velocity", "v", IDC_VELOCITY},
                                  {"acceleration", "a", IDC_ACCELERATION},
                                  {"phase", "p", IDC_PHASE_PLANE}};
constexpr Choice kDirections[] = {{"x", "x", IDC_DOF_X}, {"y", "y", IDC_DOF_Y}, {"z", "z", IDC_DOF_Z}};

DialogScript userActions(const ExtractOptions& options, const AnalysisDescription& description) {
  DialogScript script;
  if (options.start) script.push_back(user::ReplaceText{IDC_START_TIME, *options.start});
  if (options.end) script.push_back(user::ReplaceText{IDC_END_TIME, *options.end});
  if (options.every) script.push_back(user::ReplaceText{IDC_STEP_FREQUENCY, *options.every});
  if (options.quantities) {
    for (auto& action : checkBoxActions("--quantities", *options.quantities, kQuantities)) script.push_back(action);
  }
  if (options.directions) {
    const bool threeDirections = description.dofPerNode == 3;
    const auto directions = std::span<const Choice>(kDirections).first(threeDirections ? 3 : 2);
    const auto names = splitList(*options.directions);
    if (!threeDirections && std::find(names.begin(), names.end(), "z") != names.end()) {
      throw UsageError("--directions: z needs three degrees of freedom per node; this model has " +
                       std::to_string(description.dofPerNode));
    }
    for (auto& action : checkBoxActions("--directions", *options.directions, directions)) script.push_back(action);
  }
  if (options.nodes == "all") {
    script.push_back(user::SelectAll{IDC_NODES});
  } else {
    script.push_back(user::SelectNodes{IDC_NODES, nodeNumbers(options.nodes)});
  }
  script.push_back(user::PressOk{});
  return script;
}

}  // namespace

int runExtract(const ExtractOptions& options, Console& console, std::ostream& errors) {
  if (!requiredFilesExist(options.workDirectory)) {
    throw UsageError(options.workDirectory + ": not a work directory: comdin.dat and u01.unf are needed");
  }
  RunParameters parameters;
  const AnalysisDescription description = readDescriptionForRun(options.workDirectory, parameters);
  ScriptedDialog dialog({userActions(options, description)});
  ScriptedFileOpenBox noFileBox;
  RefusingMessageBox messageBox(errors);
  Platform platform{console, noFileBox, messageBox, dialog};
  obtainRunParameters(platform, description, parameters);
  produceHistoryFiles(options.workDirectory, description, parameters, console);
  return 0;
}

}  // namespace qtv
