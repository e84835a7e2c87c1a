#include "dialog/run_parameters_dialog.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

#include "dialog/dialog_template.h"
#include "driver/console_messages.h"
#include "history/number_text.h"
#include "platform/fixed_text.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

// Edit boxes and items are read back through fields of these lengths. Ten characters hold
// every 32-bit node number.
constexpr std::size_t kTimeFieldLength = 40;
constexpr std::size_t kStepFrequencyFieldLength = 10;
constexpr std::size_t kItemFieldLength = 10;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Releases the dialog on every way out of an attempt, a throwing handler included.
class OpenDialog {
 public:
  explicit OpenDialog(DialogFacility& dialog) : dialog_(dialog) {}
  OpenDialog(const OpenDialog&) = delete;
  OpenDialog& operator=(const OpenDialog&) = delete;
  ~OpenDialog() { dialog_.release(); }

 private:
  DialogFacility& dialog_;
};

// The value truncated toward zero, held to the 32-bit range.
std::int32_t truncatedInteger(double value) {
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (value <= kLowest) return std::numeric_limits<std::int32_t>::min();
  if (value >= kHighest) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

// Leading blanks, a sign and the digits up to the first other character; no digits give 0.
// Held to the 32-bit range.
std::int32_t leadingInteger(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string_view::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
  return static_cast<std::int32_t>(value);
}

// The nodes the list offers, ascending: a node is offered when one of its degrees of freedom
// is free (restraint code 0).
std::vector<std::int32_t> offeredNodes(const AnalysisDescription& description) {
  std::vector<std::int32_t> nodes;
  for (std::int32_t node = 1; node <= description.nodeCount; ++node) {
    if (description.hasFreeDof(node)) nodes.push_back(node);
  }
  return nodes;
}

// The list is sized by the nodes it offers, so every free node appears and no empty item can
// deliver node 0.
void fillNodeList(DialogFacility& dialog, const AnalysisDescription& description) {
  const std::vector<std::int32_t> nodes = offeredNodes(description);
  dialog.setItemCount(IDC_NODES, static_cast<std::int32_t>(nodes.size()));
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    dialog.setItemText(IDC_NODES, static_cast<std::int32_t>(i + 1), nodeItemText(nodes[i]));
  }
}

}  // namespace

double decimalValue(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t\r\n");
  if (i == std::string_view::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  const auto scanDigits = [&](std::string& into) {
    for (; i < text.size() && isDigit(text[i]); ++i) into += text[i];
  };

  std::string digits;
  scanDigits(digits);
  const auto digitsBeforePoint = static_cast<long>(digits.size());
  if (i < text.size() && text[i] == '.') {
    ++i;
    scanDigits(digits);
  }
  const std::size_t firstNonZero = digits.find_first_not_of('0');
  if (firstNonZero == std::string::npos) return 0;  // no digits, or zero whatever the exponent

  // from_chars takes no '+' and no 'd' exponent, so the number is spelled anew.
  std::string number = digits;
  number.insert(static_cast<std::size_t>(digitsBeforePoint), 1, '.');
  long exponent = 0;
  // An exponent counts only when a digit follows the letter and its sign.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    ++i;
    const bool negativeExponent = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    std::string exponentDigits;
    scanDigits(exponentDigits);
    if (!exponentDigits.empty()) {
      number += negativeExponent ? "e-" : "e";
      number += exponentDigits;
      for (const char digit : exponentDigits) exponent = std::min(exponent * 10 + (digit - '0'), 100000L);
      if (negativeExponent) exponent = -exponent;
    }
  }

  double value = 0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
      std::errc::result_out_of_range) {
    // Beyond the double range: the decimal exponent of the leading digit tells which end.
    const long leadExponent = digitsBeforePoint - 1 - static_cast<long>(firstNonZero);
    value = leadExponent + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

void onControlChanged(DialogFacility& dialog, const AnalysisDescription& description,
                      RunParameters& parameters) {
  parameters.tStart = static_cast<float>(decimalValue(dialog.getText(IDC_START_TIME, kTimeFieldLength)));
  parameters.tEnd = static_cast<float>(decimalValue(dialog.getText(IDC_END_TIME, kTimeFieldLength)));
  parameters.stepFrequency =
      truncatedInteger(decimalValue(dialog.getText(IDC_STEP_FREQUENCY, kStepFrequencyFieldLength)));

  parameters.wantDisplacement = dialog.getChecked(IDC_DISPLACEMENT);
  parameters.wantVelocity = dialog.getChecked(IDC_VELOCITY);
  parameters.wantPhasePlane = dialog.getChecked(IDC_PHASE_PLANE);
  parameters.wantAcceleration = dialog.getChecked(IDC_ACCELERATION);
  parameters.wantDirection[0] = dialog.getChecked(IDC_DOF_X);
  parameters.wantDirection[1] = dialog.getChecked(IDC_DOF_Y);
  // Z is disabled and never read unless the model has three degrees of freedom per node.
  if (description.dofPerNode == 3) parameters.wantDirection[2] = dialog.getChecked(IDC_DOF_Z);

  // The list offers at most one item per node, so the slots bound the selection.
  parameters.selectedCount = 0;
  std::vector<std::int32_t>& nodes = parameters.selectedNodes;
  for (std::size_t k = 1; k <= nodes.size(); ++k) {
    const std::int32_t position = dialog.getSelectedItem(IDC_NODES, static_cast<std::int32_t>(k));
    if (position == 0) break;
    nodes[k - 1] = leadingInteger(dialog.getItemText(IDC_NODES, position, kItemFieldLength));
    parameters.selectedCount = static_cast<std::int32_t>(k);
  }
}

int showRunParametersDialog(DialogFacility& dialog, Console& console,
                            const AnalysisDescription& description, RunParameters& parameters) {
  const auto slots = static_cast<std::size_t>(std::max(description.nodeCount, 0));
  if (parameters.selectedNodes.size() < slots) parameters.selectedNodes.resize(slots);
  std::fill(parameters.selectedNodes.begin(), parameters.selectedNodes.end(), 0);
  parameters.selectedCount = 0;

  if (!dialog.open(runParametersTemplate())) {
    console.writeLine("Error: Dialog not opened");
    throw ProgramEnd{0};
  }
  const OpenDialog openDialog(dialog);

  const ControlHandler handler = [&dialog, &description, &parameters](int) {
    onControlChanged(dialog, description, parameters);
  };
  for (const int id : {IDC_START_TIME, IDC_END_TIME, IDC_STEP_FREQUENCY, IDC_DISPLACEMENT, IDC_VELOCITY,
                       IDC_PHASE_PLANE, IDC_ACCELERATION, IDC_NODES, IDC_DOF_X, IDC_DOF_Y, IDC_DOF_Z}) {
    dialog.setHandler(id, handler);
  }

  const std::string dt = dtText(description.DT);
  const std::string tt = ttText(description.TT);
  const std::string steps = stepsText(description.stepCount);
  const std::string english = summaryText(false, withoutTrailingBlanks(dt), withoutTrailingBlanks(tt),
                                          withoutTrailingBlanks(steps));
  const std::string romanian = summaryText(true, withoutTrailingBlanks(dt), withoutTrailingBlanks(tt),
                                           withoutTrailingBlanks(steps));

  const bool threeDof = description.dofPerNode == 3;
  dialog.setText(IDC_SUMMARY, romanianFlag(description.languageText) ? romanian : english);
  dialog.setText(IDC_START_TIME, "0.0");
  dialog.setText(IDC_END_TIME, tt);
  dialog.setText(IDC_STEP_FREQUENCY, "1");
  dialog.setChecked(IDC_DISPLACEMENT, true);
  dialog.setChecked(IDC_VELOCITY, false);
  dialog.setChecked(IDC_PHASE_PLANE, false);
  dialog.setChecked(IDC_ACCELERATION, false);
  dialog.setChecked(IDC_DOF_X, false);
  dialog.setChecked(IDC_DOF_Y, !threeDof);
  if (threeDof) {
    dialog.setChecked(IDC_DOF_Z, true);
  } else {
    dialog.setEnabled(IDC_DOF_Z, false);
  }
  fillNodeList(dialog, description);

  return dialog.runModal();
}

}  // namespace qtv
