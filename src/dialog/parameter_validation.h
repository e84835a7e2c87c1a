#pragma once
// Dialog attempts until the user's choices pass validation.
#include "dialog/run_parameters.h"
#include "input/analysis_description.h"
#include "platform/platform.h"

namespace qtv {

// Shows the dialog attempt after attempt until the choices are valid; on return
// selectedCount >= 1, 0 <= tStart < TT, tEnd <= TT and stepFrequency >= 1. Cancel in the
// dialog or in a message box ends the run (ProgramEnd 0).
void obtainRunParameters(Platform& platform, const AnalysisDescription& description,
                         RunParameters& parameters);

}  // namespace qtv
