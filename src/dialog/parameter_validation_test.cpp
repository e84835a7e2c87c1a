#include "dialog/parameter_validation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "dialog/description_fixture.h"
#include "dialog/dialog_template.h"
#include "platform/program_end.h"
#include "platform/scripted/scripted_platform.h"

namespace qtv {
namespace {

using Shown = ScriptedMessageBox::Shown;
constexpr MessageBoxAnswer kRetry = MessageBoxAnswer::Retry;
constexpr MessageBoxAnswer kCancel = MessageBoxAnswer::Cancel;

const Shown kNoNodeBox{"No Node has been selected", "QTV: ERROR"};
const Shown kTStartBox{" tStart must be less than TT (End Time)!", "QTV: Message"};
const Shown kStepBox{" Step Frequency must be a positive integer!", "QTV: Message"};
const std::vector<std::string> kTStartLines{" * tStart can not be <0.",
                                            "  It has been set: tStart = 0.0 (Minimum Time)."};

// An attempt that selects node 2, types the given texts over Start Time, End Time and Step
// Frequency (an empty text leaves the box as it is) and presses OK.
DialogScript choose(std::string tStart, std::string tEnd = "", std::string stepFrequency = "") {
  DialogScript script{user::SelectNodes{IDC_NODES, {2}}};
  if (!tStart.empty()) script.push_back(user::ReplaceText{IDC_START_TIME, std::move(tStart)});
  if (!tEnd.empty()) script.push_back(user::ReplaceText{IDC_END_TIME, std::move(tEnd)});
  if (!stepFrequency.empty()) script.push_back(user::ReplaceText{IDC_STEP_FREQUENCY, std::move(stepFrequency)});
  script.push_back(user::PressOk{});
  return script;
}

AnalysisDescription withTT(float TT) {
  AnalysisDescription description = describe();
  description.TT = TT;
  return description;
}

// A whole dialog loop against scripted attempts and message box answers.
struct Validation {
  explicit Validation(std::vector<DialogScript> attempts, std::vector<MessageBoxAnswer> answers = {},
                      AnalysisDescription description = describe())
      : description(std::move(description)),
        scripted{RecordingConsole(), ScriptedFileOpenBox(), ScriptedMessageBox(std::move(answers)),
                 ScriptedDialog(std::move(attempts))} {}

  // The status of the ProgramEnd the loop ends with; -1 when it returns.
  int endStatus() {
    Platform platform = scripted.platform();
    try {
      obtainRunParameters(platform, description, parameters);
    } catch (const ProgramEnd& end) {
      return end.status;
    }
    return -1;
  }
  const std::vector<Shown>& boxes() const { return scripted.messageBox.shown; }
  const std::vector<std::string>& lines() const { return scripted.console.lines; }
  int attempts() const { return scripted.dialog.openCount(); }

  AnalysisDescription description;
  ScriptedPlatform scripted;
  RunParameters parameters;
};

TEST(ObtainRunParameters, AcceptsValidChoicesUnchanged) {
  // tEnd equal to TT, and tEnd below tStart, pass as they are.
  const struct {
    std::string tStart, tEnd;
    float start, end;
  } cases[] = {{"0", "10", 0, 10}, {"5", "2", 5, 2}, {"9.5", "-3", 9.5f, -3}};
  for (const auto& c : cases) {
    Validation validation({choose(c.tStart, c.tEnd)});
    EXPECT_EQ(validation.endStatus(), -1);
    EXPECT_EQ(validation.parameters.tStart, c.start);
    EXPECT_EQ(validation.parameters.tEnd, c.end);
    EXPECT_EQ(validation.parameters.selectedCount, 1);
    EXPECT_EQ(validation.parameters.selectedNodes[0], 2);
    EXPECT_EQ(validation.parameters.stepFrequency, 1);
    EXPECT_TRUE(validation.lines().empty());
    EXPECT_TRUE(validation.boxes().empty());
    EXPECT_EQ(validation.scripted.dialog.releaseCount(), 1);
  }
}

TEST(ObtainRunParameters, CancelInTheDialogEndsTheRunSilently) {
  Validation validation({{user::ReplaceText{IDC_START_TIME, "-5"}, user::SelectAll{IDC_NODES}, user::PressCancel{}}});
  EXPECT_EQ(validation.endStatus(), 0);
  EXPECT_TRUE(validation.lines().empty());
  EXPECT_TRUE(validation.boxes().empty());
  EXPECT_FALSE(validation.scripted.dialog.isOpen());
}

TEST(ObtainRunParameters, NegativeStartTimeIsSetToZeroWithANotice) {
  Validation validation({choose("-2")});
  EXPECT_EQ(validation.endStatus(), -1);
  EXPECT_EQ(validation.parameters.tStart, 0);
  EXPECT_EQ(validation.lines(), kTStartLines);
  EXPECT_TRUE(validation.boxes().empty());
}

TEST(ObtainRunParameters, EndTimeBeyondTTIsSetToTTWithANotice) {
  Validation validation({choose("", "12.5")});
  EXPECT_EQ(validation.endStatus(), -1);
  EXPECT_EQ(validation.parameters.tEnd, 10);
  EXPECT_EQ(validation.lines(), (std::vector<std::string>{" * tEnd = 1.250E+01 can not be > TT =    1.000000E+01(Response Time).",
                                                          " It has been set: tEnd = 1.000E+01 (TT)."}));
}

TEST(ObtainRunParameters, OkWithoutTouchingTheFormSelectsNoNode) {
  Validation validation({{user::PressOk{}}}, {kCancel});
  EXPECT_EQ(validation.endStatus(), 0);
  EXPECT_EQ(validation.boxes(), (std::vector<Shown>{kNoNodeBox}));
  EXPECT_EQ(validation.attempts(), 1);
}

TEST(ObtainRunParameters, RetryShowsAFreshFormWhateverWasEntered) {
  Validation validation({{user::ReplaceText{IDC_START_TIME, "3"}, user::ReplaceText{IDC_END_TIME, "4"},
                          user::ReplaceText{IDC_STEP_FREQUENCY, "7"}, user::Click{IDC_VELOCITY},
                          user::Click{IDC_DOF_X}, user::PressOk{}},
                         choose("")},
                        {kRetry});
  EXPECT_EQ(validation.endStatus(), -1);
  EXPECT_EQ(validation.boxes(), (std::vector<Shown>{kNoNodeBox}));
  const std::vector<FormState>& forms = validation.scripted.dialog.formsShown();
  ASSERT_EQ(forms.size(), 2u);
  EXPECT_EQ(forms[1], forms[0]);
  EXPECT_EQ(forms[1].at(IDC_START_TIME).text, "0.0");
  EXPECT_EQ(validation.parameters.tStart, 0);
  EXPECT_EQ(validation.parameters.tEnd, 10);
  EXPECT_EQ(validation.parameters.stepFrequency, 1);
  EXPECT_FALSE(validation.parameters.wantVelocity);
  EXPECT_FALSE(validation.parameters.wantDirection[0]);
}

TEST(ObtainRunParameters, StartTimeNotBelowTTIsRefused) {
  const struct {
    float TT;
    std::string tStart;
    std::vector<std::string> lines;
  } cases[] = {
      {10, "10", {}},
      {10, "11", {}},
      {10, "1e300", {}},
      {0, "0", {}},
      {-1, "-2", kTStartLines},
      {std::nanf(""), "1", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tStart);
    // Retry, then Cancel in the fresh dialog.
    Validation validation({choose(c.tStart)}, {kRetry}, withTT(c.TT));
    EXPECT_EQ(validation.endStatus(), 0);
    EXPECT_EQ(validation.boxes(), (std::vector<Shown>{kTStartBox}));
    EXPECT_EQ(validation.lines(), c.lines);
    EXPECT_EQ(validation.attempts(), 2);
  }
}

TEST(ObtainRunParameters, NoChoicePassesWhenTTIsNotPositive) {
  Validation validation({choose("0"), choose("0.5"), choose("-1")}, {kRetry, kRetry, kCancel}, withTT(0));
  EXPECT_EQ(validation.endStatus(), 0);
  EXPECT_EQ(validation.boxes(), (std::vector<Shown>(3, kTStartBox)));
  EXPECT_EQ(validation.lines(), kTStartLines);
}

TEST(ObtainRunParameters, StepFrequencyBelowOneIsRefused) {
  for (const std::string stepFrequency : {"0", "-3", "0.5", "abc"}) {
    SCOPED_TRACE(stepFrequency);
    Validation validation({choose("", "", stepFrequency), {user::PressCancel{}}}, {kRetry});
    EXPECT_EQ(validation.endStatus(), 0);
    EXPECT_EQ(validation.boxes(), (std::vector<Shown>{kStepBox}));
    EXPECT_EQ(validation.attempts(), 2);
  }
}

TEST(ObtainRunParameters, ChecksComeInTheirOrder) {
  // No node is judged first and alone.
  Validation noNode({{user::ReplaceText{IDC_START_TIME, "-2"}, user::ReplaceText{IDC_END_TIME, "12.5"},
                      user::ReplaceText{IDC_STEP_FREQUENCY, "0"}, user::PressOk{}}},
                    {kCancel});
  EXPECT_EQ(noNode.endStatus(), 0);
  EXPECT_EQ(noNode.boxes(), (std::vector<Shown>{kNoNodeBox}));
  EXPECT_TRUE(noNode.lines().empty());

  // tStart is corrected, then the step frequency is refused before tEnd is looked at.
  Validation stepFrequency({choose("-2", "12.5", "0")}, {kCancel});
  EXPECT_EQ(stepFrequency.endStatus(), 0);
  EXPECT_EQ(stepFrequency.boxes(), (std::vector<Shown>{kStepBox}));
  EXPECT_EQ(stepFrequency.lines(), kTStartLines);

  // Both corrections in one attempt.
  Validation both({choose("-2", "12.5")});
  EXPECT_EQ(both.endStatus(), -1);
  ASSERT_EQ(both.lines().size(), 4u);
  EXPECT_EQ(both.lines()[0], kTStartLines[0]);
  EXPECT_EQ(both.lines()[3], " It has been set: tEnd = 1.000E+01 (TT).");
}

TEST(ObtainRunParameters, ADialogThatFailsWhileShownIsJudgedLikeOk) {
  Validation chosen({{user::SelectNodes{IDC_NODES, {3}}, user::FailModal{}}});
  EXPECT_EQ(chosen.endStatus(), -1);
  EXPECT_EQ(chosen.parameters.selectedCount, 1);
  EXPECT_EQ(chosen.parameters.selectedNodes[0], 3);

  Validation untouched({{user::FailModal{}}}, {kCancel});
  EXPECT_EQ(untouched.endStatus(), 0);
  EXPECT_EQ(untouched.boxes(), (std::vector<Shown>{kNoNodeBox}));
}

}  // namespace
}  // namespace qtv
