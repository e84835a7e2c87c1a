#include "dialog/run_parameters_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "dialog/description_fixture.h"
#include "dialog/dialog_template.h"
#include "platform/fixed_text.h"
#include "platform/program_end.h"
#include "platform/scripted/scripted_platform.h"

namespace qtv {
namespace {

// One attempt of the dialog with the given user actions; the parameters after it.
struct Attempt {
  explicit Attempt(DialogScript script, AnalysisDescription description = describe())
      : description(std::move(description)), dialog({std::move(script)}) {}

  int run() { return showRunParametersDialog(dialog, console, description, parameters); }
  const FormState& shown() const { return dialog.formsShown().at(0); }
  std::vector<std::string> items() const {
    std::vector<std::string> texts;
    for (const std::string& item : shown().at(IDC_NODES).items) texts.emplace_back(withoutTrailingBlanks(item));
    return texts;
  }
  std::vector<std::int32_t> chosenNodes() const {
    return {parameters.selectedNodes.begin(), parameters.selectedNodes.begin() + parameters.selectedCount};
  }

  AnalysisDescription description;
  ScriptedDialog dialog;
  RecordingConsole console;
  RunParameters parameters;
};

TEST(DecimalValue, ReadsTheNumberAtTheStartOfTheText) {
  const double infinity = std::numeric_limits<double>::infinity();
  const struct {
    std::string_view text;
    double value;
  } cases[] = {
      {"1e-2", 0.01},   {"1d-2", 0.01},       {"1D2", 100},        {"2.5E+1", 25},      {"12abc", 12},
      {"abc", 0},       {"", 0},              {".", 0},            {"-", 0},            {"+", 0},
      {"1e", 1},        {"1e+", 1},           {"1dx", 1},          {"2.9", 2.9},        {"-1.5", -1.5},
      {"+3", 3},        {".5", 0.5},          {"5.", 5},           {"1.5.3", 1.5},      {"1 2", 1},
      {" \t\r\n7", 7},  {"\t-0.25", -0.25},   {"x1", 0},           {"0.1", 0.1},        {"1e300", 1e300},
      {"1e400", infinity}, {"-1e400", -infinity}, {"1e-400", 0},   {"0.00e999", 0},     {"0.001e311", 1e308},
      {"1000e-320", 1e-317},
  };
  for (const auto& c : cases) EXPECT_EQ(decimalValue(c.text), c.value) << "'" << c.text << "'";
}

TEST(RunParametersDialog, InitialFormFollowsTheLanguageAndTheDegreesOfFreedom) {
  const struct {
    std::string_view language;
    std::int32_t dofPerNode;
    std::string_view summary;
    bool yChecked, zChecked, zEnabled;
  } cases[] = {
      {"english", 3, " Motion History is calculated with:\r Time Step DT = 0.01 up to time TT = 10.\r (1000 steps)",
       false, true, true},
      {"Romana", 2, " Istoria miscarii este calculata cu:\r Pasul de timp DT = 0.01 pana la timpul TT = 10.\r (1000 pasi)",
       true, false, false},
      {"romana", 3, " Istoria miscarii este calculata cu:\r Pasul de timp DT = 0.01 pana la timpul TT = 10.\r (1000 pasi)",
       false, true, true},
      {" r", 1, " Motion History is calculated with:\r Time Step DT = 0.01 up to time TT = 10.\r (1000 steps)",
       true, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.language);
    AnalysisDescription description = describe(3, c.dofPerNode);
    description.languageText = fixedField(c.language, kShortTextLength);
    Attempt attempt({user::PressOk{}}, description);
    EXPECT_EQ(attempt.run(), kDialogOk);
    const FormState& form = attempt.shown();
    EXPECT_EQ(form.at(IDC_SUMMARY).text, c.summary);
    EXPECT_EQ(form.at(IDC_START_TIME).text, "0.0");
    EXPECT_EQ(form.at(IDC_END_TIME).text, "10.");
    EXPECT_EQ(form.at(IDC_STEP_FREQUENCY).text, "1");
    EXPECT_TRUE(form.at(IDC_DISPLACEMENT).checked);
    EXPECT_FALSE(form.at(IDC_VELOCITY).checked);
    EXPECT_FALSE(form.at(IDC_PHASE_PLANE).checked);
    EXPECT_FALSE(form.at(IDC_ACCELERATION).checked);
    EXPECT_FALSE(form.at(IDC_DOF_X).checked);
    EXPECT_EQ(form.at(IDC_DOF_Y).checked, c.yChecked);
    EXPECT_EQ(form.at(IDC_DOF_Z).checked, c.zChecked);
    EXPECT_EQ(form.at(IDC_DOF_Z).enabled, c.zEnabled);
    EXPECT_TRUE(form.at(IDC_NODES).selectedPositions.empty());
    // Filling the form is no user change.
    EXPECT_TRUE(attempt.dialog.handlerRuns().empty());
  }
}

TEST(RunParametersDialog, SummaryShowsTimeStepEndTimeAndSteps) {
  const struct {
    float DT;
    std::int32_t stepCount;
    std::string_view thirdLine;
    std::string_view dt;
  } cases[] = {
      {0.01f, 1001, " (1000 steps)", "0.01"},
      {5e-4f, 10, " ( 9 steps)", "5.E-04"},
      {0.001f, 1, " (0 steps)", "0.001"},
      {0.01f, 0, " (* steps)", "0.01"},
  };
  for (const auto& c : cases) {
    AnalysisDescription description = describe();
    description.DT = c.DT;
    description.stepCount = c.stepCount;
    Attempt attempt({}, description);
    attempt.run();
    EXPECT_EQ(attempt.shown().at(IDC_SUMMARY).text,
              " Motion History is calculated with:\r Time Step DT = " + std::string(c.dt) +
                  " up to time TT = 10.\r" + std::string(c.thirdLine));
  }
}

TEST(RunParametersDialog, NodeListOffersExactlyTheNodesWithAFreeDegreeOfFreedom) {
  const struct {
    AnalysisDescription description;
    std::int32_t restraintLineCount;  // as the description states it
    std::vector<std::string> items;
  } cases[] = {
      {describe(5, 2, {1, 5}), 2, {"2", "3", "4"}},
      // A restraint line count that does not match the codes leaves no node out and adds no
      // empty item.
      {describe(4, 1, {1}), 3, {"2", "3", "4"}},
      {describe(4, 3, {2, 3}), 0, {"1", "4"}},
      {describe(0), 0, {}},
      {describe(-3), 0, {}},
      {describe(4, 0), 0, {}},
  };
  for (const auto& c : cases) {
    Attempt attempt({user::PressOk{}}, c.description);
    attempt.description.restraintLineCount = c.restraintLineCount;
    attempt.run();
    EXPECT_EQ(attempt.items(), c.items) << "nodeCount " << c.description.nodeCount;
  }
}

TEST(RunParametersDialog, ClearsTheSelectionAndMakesOneSlotPerNode) {
  Attempt attempt({user::PressCancel{}}, describe(4));
  attempt.parameters.selectedCount = 2;
  attempt.parameters.selectedNodes = {3, 7};
  attempt.parameters.tStart = 5;
  EXPECT_EQ(attempt.run(), kDialogCancel);
  EXPECT_EQ(attempt.parameters.selectedCount, 0);
  EXPECT_EQ(attempt.parameters.selectedNodes, (std::vector<std::int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(attempt.parameters.tStart, 5);  // the handler never ran
  EXPECT_EQ(attempt.dialog.releaseCount(), 1);
  EXPECT_TRUE(attempt.console.lines.empty());
}

TEST(RunParametersDialog, DialogThatCannotOpenEndsTheRun) {
  Attempt attempt({});
  attempt.dialog = ScriptedDialog({}, /*openFails=*/true);
  try {
    attempt.run();
    ADD_FAILURE() << "the run went on";
  } catch (const ProgramEnd& end) {
    EXPECT_EQ(end.status, 0);
  }
  EXPECT_EQ(attempt.console.lines, (std::vector<std::string>{"Error: Dialog not opened"}));
}

TEST(RunParametersDialog, ReleasesTheDialogAlsoWhenTheScriptFails) {
  Attempt attempt({user::SelectNodes{IDC_NODES, {9}}, user::PressOk{}});
  EXPECT_THROW(attempt.run(), UsageError);
  EXPECT_FALSE(attempt.dialog.isOpen());
  EXPECT_EQ(attempt.dialog.releaseCount(), 1);
}

TEST(RunParametersDialog, TimesFollowTheEditBoxes) {
  const struct {
    std::string text;
    float value;
  } cases[] = {
      {"1e-2", 0.01f}, {"1d-2", 0.01f}, {"12abc", 12},  {"abc", 0},   {"", 0},
      {"-1.5", -1.5f}, {"\t\r\n3.25", 3.25f}, {"0.1", 0.1f},
      {"1e300", std::numeric_limits<float>::infinity()},
      // Only the first 40 characters are read.
      {std::string(39, '0') + "25", 2},
  };
  for (const auto& c : cases) {
    Attempt attempt({user::ReplaceText{IDC_START_TIME, c.text}, user::ReplaceText{IDC_END_TIME, c.text},
                     user::PressOk{}});
    attempt.run();
    EXPECT_EQ(attempt.parameters.tStart, c.value) << "'" << c.text << "'";
    EXPECT_EQ(attempt.parameters.tEnd, c.value) << "'" << c.text << "'";
  }
}

TEST(RunParametersDialog, StepFrequencyIsTruncatedAndHeldToItsRange) {
  const struct {
    std::string_view text;
    std::int32_t value;
  } cases[] = {
      {"2.9", 2},           {"-1.5", -1},           {"", 0},          {"abc", 0},
      {"7x", 7},            {"1e300", 2147483647},  {"-1e300", -2147483647 - 1},
      {"1e400", 2147483647}, {"2147483647", 2147483647}, {"-1e10", -2147483647 - 1},
      {"12345678901", 1234567890},  // the first 10 characters
  };
  for (const auto& c : cases) {
    Attempt attempt({user::ReplaceText{IDC_STEP_FREQUENCY, std::string(c.text)}, user::PressOk{}});
    attempt.run();
    EXPECT_EQ(attempt.parameters.stepFrequency, c.value) << "'" << c.text << "'";
  }
}

TEST(RunParametersDialog, EveryKeystrokeRunsTheHandler) {
  Attempt attempt({user::TypeText{IDC_STEP_FREQUENCY, "25"}, user::PressOk{}});
  attempt.run();
  EXPECT_EQ(attempt.dialog.handlerRuns(), (std::vector<int>{IDC_STEP_FREQUENCY, IDC_STEP_FREQUENCY}));
  EXPECT_EQ(attempt.parameters.stepFrequency, 125);
  // The whole form is read on every run.
  EXPECT_EQ(attempt.parameters.tStart, 0);
  EXPECT_EQ(attempt.parameters.tEnd, 10);
  EXPECT_TRUE(attempt.parameters.wantDisplacement);
}

TEST(RunParametersDialog, CheckBoxesSetTheirFlags) {
  const struct {
    int id;
    bool RunParameters::*flag;
    bool after;  // after one click
  } cases[] = {
      {IDC_DISPLACEMENT, &RunParameters::wantDisplacement, false},
      {IDC_VELOCITY, &RunParameters::wantVelocity, true},
      {IDC_PHASE_PLANE, &RunParameters::wantPhasePlane, true},
      {IDC_ACCELERATION, &RunParameters::wantAcceleration, true},
  };
  for (const auto& c : cases) {
    Attempt attempt({user::Click{c.id}, user::PressOk{}});
    attempt.run();
    EXPECT_EQ(attempt.parameters.*c.flag, c.after) << c.id;
    int set = attempt.parameters.wantDisplacement + attempt.parameters.wantVelocity +
              attempt.parameters.wantPhasePlane + attempt.parameters.wantAcceleration;
    EXPECT_EQ(set, c.id == IDC_DISPLACEMENT ? 0 : 2) << c.id;
  }
}

TEST(RunParametersDialog, DirectionsAndZOnlyWithThreeDegreesOfFreedom) {
  Attempt three({user::Click{IDC_DOF_X}, user::Click{IDC_DOF_Z}, user::PressOk{}}, describe(3, 3));
  three.parameters.wantDirection = {false, true, true};
  three.run();
  EXPECT_EQ(three.parameters.wantDirection, (std::array<bool, 3>{true, false, false}));

  // Z is disabled: the click changes nothing, and its flag is never read back.
  Attempt two({user::Click{IDC_DOF_Z}, user::Click{IDC_DOF_X}, user::PressOk{}}, describe(3, 2));
  two.parameters.wantDirection = {false, false, true};
  two.run();
  EXPECT_EQ(two.dialog.handlerRuns(), (std::vector<int>{IDC_DOF_X}));
  EXPECT_EQ(two.parameters.wantDirection, (std::array<bool, 3>{true, true, true}));
}

TEST(RunParametersDialog, SelectedNodesAreListedInAscendingOrder) {
  const AnalysisDescription fixture = describe(6, 2, {1});
  Attempt clicks({user::ToggleItem{IDC_NODES, 4}, user::ToggleItem{IDC_NODES, 2}, user::PressOk{}}, fixture);
  clicks.run();
  EXPECT_EQ(clicks.chosenNodes(), (std::vector<std::int32_t>{3, 5}));

  Attempt none({user::ToggleItem{IDC_NODES, 4}, user::ToggleItem{IDC_NODES, 2}, user::ToggleItem{IDC_NODES, 4},
                user::ToggleItem{IDC_NODES, 2}, user::PressOk{}},
               fixture);
  none.run();
  EXPECT_EQ(none.parameters.selectedCount, 0);

  Attempt all({user::SelectAll{IDC_NODES}, user::PressOk{}}, fixture);
  all.run();
  EXPECT_EQ(all.chosenNodes(), (std::vector<std::int32_t>{2, 3, 4, 5, 6}));
}

TEST(RunParametersDialog, NodeNumbersOfAnyWidthAreReadBack) {
  Attempt attempt({user::SelectNodes{IDC_NODES, {123456, 99999, 7}}, user::PressOk{}},
                  describe(123456, 1));
  attempt.run();
  EXPECT_EQ(attempt.dialog.handlerRuns().size(), 1u);
  EXPECT_EQ(attempt.chosenNodes(), (std::vector<std::int32_t>{7, 99999, 123456}));
}

}  // namespace
}  // namespace qtv
