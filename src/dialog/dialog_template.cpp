#include "dialog/dialog_template.h"

#include <array>

namespace qtv {

namespace {

using enum ControlKind;

constexpr std::array<ControlTemplate, 20> kControls{{
    {IDOK, PushButton, "OK", 161, 244, 45, 15, /*defaultButton=*/true},
    {IDCANCEL, PushButton, "Cancel", 7, 245, 40, 14},
    {IDC_SUMMARY, StaticText, "", 15, 19, 184, 26, false, /*sunkenBorder=*/true},
    {kNoControlId, StaticText, "Start Time", 12, 63, 32, 10},
    {kNoControlId, StaticText, "End Time", 116, 63, 31, 9},
    {IDC_START_TIME, EditBox, "", 50, 62, 48, 12},
    {IDC_END_TIME, EditBox, "", 151, 62, 48, 12},
    {IDC_NODES, ListBox, "", 43, 178, 35, 40},
    {kNoControlId, GroupBox, "NODE MOTION", 7, 3, 199, 226},
    {kNoControlId, StaticText, "Nodes", 17, 177, 21, 10},
    {IDC_PHASE_PLANE, CheckBox, "Phase Plane", 116, 122, 52, 9},
    {IDC_STEP_FREQUENCY, EditBox, "", 50, 91, 31, 13},
    {kNoControlId, StaticText, "Step Frequency (integer)", 12, 89, 35, 16, false, false, /*wraps=*/true},
    {IDC_DISPLACEMENT, CheckBox, "Displacement", 17, 122, 60, 11},
    {IDC_VELOCITY, CheckBox, "Velocity", 17, 143, 61, 10},
    {IDC_ACCELERATION, CheckBox, "Acceleration", 116, 143, 61, 10},
    {IDC_DOF_X, CheckBox, "X", 149, 178, 22, 11},
    {IDC_DOF_Y, CheckBox, "Y", 149, 194, 23, 11},
    {IDC_DOF_Z, CheckBox, "Z", 149, 208, 21, 11},
    {kNoControlId, StaticText, "Degree of Freedom", 111, 177, 33, 17, false, false, /*wraps=*/true},
}};

constexpr DialogTemplate kTemplate{IDD_RUN_PARAMETERS, "QTV Dialog", 213, 266, "MS Sans Serif", 8, kControls};

}  // namespace

const DialogTemplate& runParametersTemplate() { return kTemplate; }

}  // namespace qtv
