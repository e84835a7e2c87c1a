#include "dialog/parameter_validation.h"

#include <string>

#include "dialog/run_parameters_dialog.h"
#include "history/number_text.h"
#include "platform/program_end.h"

namespace qtv {

namespace {

// Retry goes on with a fresh dialog; Cancel ends the run.
void refuse(MessageBox& messageBox, std::string_view text, std::string_view caption) {
  if (messageBox.show(text, caption) == MessageBoxAnswer::Cancel) throw ProgramEnd{0};
}

}  // namespace

void obtainRunParameters(Platform& platform, const AnalysisDescription& description,
                         RunParameters& parameters) {
  for (;;) {
    // A facility that fails after opening (kDialogFailed) leaves what the user had done; it is
    // judged like OK.
    if (showRunParametersDialog(platform.dialog, platform.console, description, parameters) ==
        kDialogCancel) {
      throw ProgramEnd{0};
    }
    if (parameters.selectedCount == 0) {
      refuse(platform.messageBox, "No Node has been selected", "QTV: ERROR");
      continue;
    }
    if (parameters.tStart < 0) {
      parameters.tStart = 0;
      platform.console.writeLine(" * tStart can not be <0.");
      platform.console.writeLine("  It has been set: tStart = 0.0 (Minimum Time).");
    }
    // Written so that a TT that is not a number is refused too.
    if (!(parameters.tStart < description.TT)) {
      refuse(platform.messageBox, " tStart must be less than TT (End Time)!", "QTV: Message");
      continue;
    }
    // The extraction steps through the analysis by stepFrequency, so it must be at least 1.
    if (parameters.stepFrequency < 1) {
      refuse(platform.messageBox, " Step Frequency must be a positive integer!", "QTV: Message");
      continue;
    }
    if (parameters.tEnd > description.TT) {
      platform.console.writeLine(" * tEnd =" + numberTextA(parameters.tEnd) + " can not be > TT =" +
                                 numberTextB(description.TT) + "(Response Time).");
      parameters.tEnd = description.TT;
      platform.console.writeLine(" It has been set: tEnd =" + numberTextA(parameters.tEnd) + " (TT).");
    }
    return;
  }
}

}  // namespace qtv
