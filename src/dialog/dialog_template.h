#pragma once
// The run parameters form (template 101): control ids and the template table.
#include "platform/platform.h"

namespace qtv {

inline constexpr int IDD_RUN_PARAMETERS = 101;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_SUMMARY = 1000;
inline constexpr int IDC_START_TIME = 1001;
inline constexpr int IDC_END_TIME = 1002;
inline constexpr int IDC_NODES = 1003;
inline constexpr int IDC_PHASE_PLANE = 1004;
inline constexpr int IDC_STEP_FREQUENCY = 1005;
inline constexpr int IDC_DISPLACEMENT = 1006;
inline constexpr int IDC_VELOCITY = 1007;
inline constexpr int IDC_ACCELERATION = 1008;
inline constexpr int IDC_DOF_X = 1009;
inline constexpr int IDC_DOF_Y = 1010;
inline constexpr int IDC_DOF_Z = 1011;

// Caption "QTV Dialog", 213 x 266 dialog units, "MS Sans Serif" 8 points, the twenty controls
// in template (= tab) order.
const DialogTemplate& runParametersTemplate();

}  // namespace qtv
