// Shows the run parameters form on this terminal for a small made-up analysis and prints what
// the form left in the run parameters, for the tmux-driven test beside it.
//   terminal_form_demo [--box] [--box-on-phase-plane]
//   --box                 afterwards asks the "files missing" Retry/Cancel question
//   --box-on-phase-plane  asks it over the form whenever Phase Plane is clicked
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "dialog/dialog_template.h"
#include "dialog/run_parameters_dialog.h"
#include "platform/stdio/console_message_box.h"
#include "platform/stdio/stdio_console.h"
#include "platform/terminal/terminal_dialog.h"
#include "platform/terminal/terminal_message_box.h"
#include "platform/terminal/terminal_screen.h"

namespace {

constexpr std::string_view kQuestion =
    " Not all the needed files exist in this directory.\n Retry for another Browse.";

const char* answerText(qtv::MessageBoxAnswer answer) {
  return answer == qtv::MessageBoxAnswer::Retry ? "Retry" : "Cancel";
}

// The terminal form, with a message box over it after every click on Phase Plane; the answers
// are kept until the form has closed.
class FormWithBox : public qtv::TerminalDialog {
 public:
  explicit FormWithBox(qtv::MessageBox& box) : box_(box) {}
  void setHandler(int controlId, qtv::ControlHandler handler) override {
    if (controlId == qtv::IDC_PHASE_PLANE) {
      handler = [this, handler](int changed) {
        handler(changed);
        answers += std::string(" ") + answerText(box_.show(kQuestion, "QTV Message"));
      };
    }
    TerminalDialog::setHandler(controlId, std::move(handler));
  }
  std::string answers;

 private:
  qtv::MessageBox& box_;
};

std::string realText(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

std::string flag(bool value) { return value ? "1" : "0"; }

}  // namespace

int main(int argc, char** argv) {
  bool boxAfter = false;
  bool boxOnPhasePlane = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    boxAfter = boxAfter || option == "--box";
    boxOnPhasePlane = boxOnPhasePlane || option == "--box-on-phase-plane";
  }
  qtv::StdioConsole console(stdin, stdout);
  if (!qtv::terminalAvailable()) {
    console.writeLine("no terminal");
    return 3;
  }
  qtv::ConsoleMessageBox consoleBox(console);
  qtv::TerminalMessageBox box(consoleBox);

  // Twelve nodes with two degrees of freedom; nodes 1 and 12 are fully restrained.
  qtv::AnalysisDescription description;
  description.nodeCount = 12;
  description.restraintLineCount = 2;
  description.dofPerNode = 2;
  description.restraintCode.assign(24, 0);
  description.restraintCode[0] = description.restraintCode[1] = 1;
  description.restraintCode[22] = description.restraintCode[23] = 1;
  description.DT = 0.01f;
  description.TT = 10.0f;
  description.stepCount = 1001;
  qtv::RunParameters parameters;

  FormWithBox withBox(box);
  qtv::TerminalDialog plain;
  qtv::TerminalDialog& dialog = boxOnPhasePlane ? withBox : plain;
  const int button = qtv::showRunParametersDialog(dialog, console, description, parameters);

  console.writeLine("button " + std::to_string(button));
  console.writeLine("tStart " + realText(parameters.tStart) + " tEnd " + realText(parameters.tEnd) +
                    " stepFrequency " + std::to_string(parameters.stepFrequency));
  console.writeLine("displacement " + flag(parameters.wantDisplacement) + " velocity " +
                    flag(parameters.wantVelocity) + " phasePlane " + flag(parameters.wantPhasePlane) +
                    " acceleration " + flag(parameters.wantAcceleration));
  console.writeLine("directions " + flag(parameters.wantDirection[0]) + flag(parameters.wantDirection[1]) +
                    flag(parameters.wantDirection[2]));
  std::string nodes = "nodes";
  for (std::int32_t k = 0; k < parameters.selectedCount; ++k)
    nodes += " " + std::to_string(parameters.selectedNodes[static_cast<std::size_t>(k)]);
  console.writeLine(nodes);
  if (boxOnPhasePlane) console.writeLine("answers over the form" + withBox.answers);
  if (boxAfter) console.writeLine(std::string("answer ") + answerText(box.show(kQuestion, "QTV Message")));
  return 0;
}
