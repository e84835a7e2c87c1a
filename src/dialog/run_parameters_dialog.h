#pragma once
// The run parameters dialog: the form's texts and initial values, the node list, and the
// control handler that copies the whole form into RunParameters after every user change.
#include <cstdint>
#include <string_view>

#include "dialog/run_parameters.h"
#include "input/analysis_description.h"
#include "platform/platform.h"

namespace qtv {

// Decimal conversion of an edit box text: leading blanks, tabs, CR and LF skipped; sign,
// digits with an optional point, an optional exponent (e, E, d, D); stops at the first
// character that does not continue the number; no number gives 0. Locale-independent.
double decimalValue(std::string_view text);

// One dialog attempt: clears selectedNodes and selectedCount, opens and fills the form, runs
// it, releases it. Returns kDialogOk or kDialogCancel. When the dialog cannot be opened it
// writes "Error: Dialog not opened" and ends the run (ProgramEnd 0).
int showRunParametersDialog(DialogFacility& dialog, Console& console,
                            const AnalysisDescription& description, RunParameters& parameters);

// The control handler: re-reads the whole form into `parameters`.
void onControlChanged(DialogFacility& dialog, const AnalysisDescription& description,
                      RunParameters& parameters);

}  // namespace qtv
