#include "platform/scripted/scripted_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

#include "platform/program_end.h"
#include "platform/scripted/scripted_platform.h"

namespace qtv {
namespace {

constexpr int kEdit = 10;
constexpr int kCheck = 20;
constexpr int kList = 30;
constexpr int kLabel = 40;

using enum ControlKind;
constexpr std::array<ControlTemplate, 6> kControls{{
    {kDialogOk, PushButton, "OK", 0, 0, 10, 10, true},
    {kEdit, EditBox, "ignored", 0, 0, 10, 10},
    {kCheck, CheckBox, "Tick", 0, 0, 10, 10},
    {kList, ListBox, "", 0, 0, 10, 10},
    {kLabel, StaticText, "Label", 0, 0, 10, 10},
    {kNoControlId, StaticText, "Frame", 0, 0, 10, 10},
}};
constexpr DialogTemplate kTemplate{7, "Test", 100, 100, "Font", 8, kControls};

// Opens the test form with `items` list items "1".."n" and a handler on every control that
// records what it saw.
struct Form {
  explicit Form(std::vector<DialogScript> attempts = {}) : dialog(std::move(attempts)) { reopen(); }

  void reopen(std::int32_t items = 5) {
    EXPECT_TRUE(dialog.open(kTemplate));
    dialog.setItemCount(kList, items);
    for (std::int32_t i = 1; i <= items; ++i) dialog.setItemText(kList, i, std::to_string(i));
    for (const int id : {kEdit, kCheck, kList}) {
      dialog.setHandler(id, [this](int) { seenTexts.push_back(dialog.getText(kEdit, 4)); });
    }
  }

  std::vector<std::int32_t> selection() {
    std::vector<std::int32_t> positions;
    for (std::int32_t k = 1; dialog.getSelectedItem(kList, k) != 0; ++k) {
      positions.push_back(dialog.getSelectedItem(kList, k));
    }
    return positions;
  }

  ScriptedDialog dialog;
  std::vector<std::string> seenTexts;
};

TEST(ScriptedDialog, OpensEveryControlInItsTemplateState) {
  Form form;
  const FormState state = form.dialog.form();
  ASSERT_EQ(state.size(), 5u);  // the unnamed frame is not addressable
  EXPECT_EQ(state.at(kEdit).text, "");
  EXPECT_FALSE(state.at(kCheck).checked);
  EXPECT_EQ(state.at(kLabel).text, "Label");
  for (const auto& [id, control] : state) EXPECT_TRUE(control.enabled) << id;
  EXPECT_THROW(form.dialog.getText(kNoControlId, 5), std::logic_error);
}

TEST(ScriptedDialog, OpenCanBeMadeToFail) {
  ScriptedDialog dialog({}, /*openFails=*/true);
  EXPECT_FALSE(dialog.open(kTemplate));
  EXPECT_FALSE(dialog.isOpen());
}

TEST(ScriptedDialog, SetCallsNeverRunTheHandler) {
  Form form;
  form.dialog.setText(kEdit, "12  ");
  form.dialog.setChecked(kCheck, true);
  form.dialog.setEnabled(kCheck, false);
  form.dialog.setItemText(kList, 1, "x");
  EXPECT_TRUE(form.dialog.handlerRuns().empty());
  EXPECT_EQ(form.dialog.getText(kEdit, 4), "12  ");  // trailing blanks dropped, then padded
  EXPECT_EQ(form.dialog.form().at(kEdit).text, "12");
  EXPECT_EQ(form.dialog.getText(kEdit, 1), "1");
  EXPECT_TRUE(form.dialog.getChecked(kCheck));
}

TEST(ScriptedDialog, ItemTextOutsideTheListIsRefused) {
  Form form;
  form.dialog.setItemText(kList, 0, "zero");
  form.dialog.setItemText(kList, 6, "six");
  form.dialog.setItemText(kList, 5, "five");
  EXPECT_EQ(form.dialog.form().at(kList).items,
            (std::vector<std::string>{"1", "2", "3", "4", "five"}));
  EXPECT_EQ(form.dialog.getItemText(kList, 5, 6), "five  ");
  EXPECT_EQ(form.dialog.getItemText(kList, 5, 2), "fi");
}

TEST(ScriptedDialog, ItemCountEmptiesTheListAndItsSelection) {
  Form form({{user::SelectItems{kList, {2, 3}}, user::PressOk{}}});
  form.dialog.runModal();
  form.dialog.setItemCount(kList, 2);
  EXPECT_EQ(form.dialog.form().at(kList).items, (std::vector<std::string>{"", ""}));
  EXPECT_EQ(form.dialog.getSelectedItem(kList, 1), 0);
  form.dialog.setItemCount(kList, -4);
  EXPECT_TRUE(form.dialog.form().at(kList).items.empty());
}

TEST(ScriptedDialog, TypingRunsTheHandlerAfterEveryCharacter) {
  Form form({{user::TypeText{kEdit, "12"}, user::TypeText{kEdit, "3"}, user::PressOk{}}});
  EXPECT_EQ(form.dialog.runModal(), kDialogOk);
  EXPECT_EQ(form.seenTexts, (std::vector<std::string>{"1   ", "12  ", "123 "}));
  EXPECT_EQ(form.dialog.handlerRuns(), (std::vector<int>{kEdit, kEdit, kEdit}));
}

TEST(ScriptedDialog, ClearAndReplaceAreOneChangeEach) {
  Form form({{user::ClearText{kEdit}, user::TypeText{kEdit, "ab"}, user::ReplaceText{kEdit, "xyz"},
              user::ReplaceText{kEdit, "xyz"}, user::ClearText{kEdit}, user::ClearText{kEdit},
              user::PressOk{}}});
  form.dialog.runModal();
  // Clearing an empty box or replacing a text by itself changes nothing.
  EXPECT_EQ(form.seenTexts, (std::vector<std::string>{"a   ", "ab  ", "xyz ", "    "}));
}

TEST(ScriptedDialog, CheckClicksOnlyWhenTheStateDiffers) {
  Form form({{user::Check{kCheck, false}, user::Check{kCheck, true}, user::Check{kCheck, true}, user::PressOk{}}});
  form.dialog.runModal();
  EXPECT_TRUE(form.dialog.getChecked(kCheck));
  EXPECT_EQ(form.dialog.handlerRuns(), std::vector<int>{kCheck});
}

TEST(ScriptedDialog, ClickTogglesAndADisabledControlCannotBeChanged) {
  Form form({{user::Click{kCheck}, user::Click{kCheck}, user::Click{kCheck}, user::PressOk{}}});
  form.dialog.runModal();
  EXPECT_TRUE(form.dialog.getChecked(kCheck));
  EXPECT_EQ(form.dialog.handlerRuns().size(), 3u);

  ScriptedDialog disabled({{user::Click{kCheck}, user::TypeText{kEdit, "1"}, user::ToggleItem{kList, 1},
                            user::SelectAll{kList}, user::PressOk{}}});
  ASSERT_TRUE(disabled.open(kTemplate));
  disabled.setItemCount(kList, 2);
  int runs = 0;
  for (const int id : {kEdit, kCheck, kList}) {
    disabled.setHandler(id, [&runs](int) { ++runs; });
    disabled.setEnabled(id, false);
  }
  disabled.runModal();
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(disabled.form(), disabled.formsShown().front());
}

TEST(ScriptedDialog, SelectionIsReportedInAscendingPositionOrder) {
  Form form({{user::ToggleItem{kList, 4}, user::ToggleItem{kList, 2}, user::ToggleItem{kList, 5},
              user::ToggleItem{kList, 4}, user::PressOk{}}});
  form.dialog.runModal();
  EXPECT_EQ(form.selection(), (std::vector<std::int32_t>{2, 5}));
  EXPECT_EQ(form.dialog.getSelectedItem(kList, 3), 0);
  EXPECT_EQ(form.dialog.getSelectedItem(kList, 0), 0);
  EXPECT_EQ(form.dialog.handlerRuns().size(), 4u);
}

TEST(ScriptedDialog, RangeSelectionsReplaceTheSelectionInOneChange) {
  Form form({{user::ToggleItem{kList, 1}, user::SelectItems{kList, {5, 3}}, user::PressOk{}},
             {user::SelectAll{kList}, user::PressOk{}},
             {user::SelectNodes{kList, {4, 2}}, user::PressOk{}}});
  form.dialog.runModal();
  EXPECT_EQ(form.selection(), (std::vector<std::int32_t>{3, 5}));
  EXPECT_EQ(form.dialog.handlerRuns().size(), 2u);
  form.dialog.runModal();
  EXPECT_EQ(form.selection(), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  form.dialog.runModal();
  EXPECT_EQ(form.selection(), (std::vector<std::int32_t>{2, 4}));
  EXPECT_EQ(form.dialog.handlerRuns().size(), 4u);
}

TEST(ScriptedDialog, SelectNodesFindsItemsByTheNodeTheyShow) {
  ScriptedDialog dialog({{user::SelectNodes{kList, {12, 3}}, user::PressOk{}},
                         {user::SelectNodes{kList, {7}}, user::PressOk{}}});
  ASSERT_TRUE(dialog.open(kTemplate));
  dialog.setItemCount(kList, 3);
  dialog.setItemText(kList, 1, "3         ");
  dialog.setItemText(kList, 2, "5         ");
  dialog.setItemText(kList, 3, "12        ");
  dialog.runModal();
  EXPECT_EQ(dialog.getSelectedItem(kList, 1), 1);
  EXPECT_EQ(dialog.getSelectedItem(kList, 2), 3);
  try {
    dialog.runModal();
    ADD_FAILURE() << "node 7 was found";
  } catch (const UsageError& error) {
    EXPECT_STREQ(error.what(), "node 7 is not offered by the node list");
  }
}

TEST(ScriptedDialog, EveryOneOfManyNodesCanBeSelectedAndReadBackInOneChange) {
  constexpr std::int32_t kNodes = 100000;
  std::vector<std::int32_t> every(kNodes);
  for (std::int32_t i = 0; i < kNodes; ++i) every[static_cast<std::size_t>(i)] = kNodes - i;
  ScriptedDialog dialog({{user::SelectNodes{kList, every}, user::PressOk{}}});
  ASSERT_TRUE(dialog.open(kTemplate));
  dialog.setItemCount(kList, kNodes);
  for (std::int32_t i = 1; i <= kNodes; ++i) dialog.setItemText(kList, i, std::to_string(i));
  std::int64_t sum = 0;
  std::int32_t count = 0;
  dialog.setHandler(kList, [&](int) {
    for (std::int32_t k = 1, position; (position = dialog.getSelectedItem(kList, k)) != 0; ++k) {
      ++count;
      sum += std::stoi(dialog.getItemText(kList, position, 10));
    }
  });
  dialog.runModal();
  EXPECT_EQ(count, kNodes);
  EXPECT_EQ(sum, std::int64_t{kNodes} * (kNodes + 1) / 2);
}

TEST(ScriptedDialog, RunModalPlaysOneAttemptAndRecordsTheFormItShowed) {
  Form form({{user::TypeText{kEdit, "1"}, user::PressCancel{}, user::TypeText{kEdit, "2"}},
             {user::Click{kCheck}},
             {user::FailModal{}}});
  form.dialog.setText(kEdit, "0");
  EXPECT_EQ(form.dialog.runModal(), kDialogCancel);
  EXPECT_EQ(form.dialog.getText(kEdit, 3), "01 ");  // nothing played after the press
  EXPECT_EQ(form.dialog.runModal(), kDialogCancel);  // no press: the dialog is closed
  EXPECT_EQ(form.dialog.runModal(), kDialogFailed);
  EXPECT_EQ(form.dialog.runModal(), kDialogCancel);  // no attempt left
  ASSERT_EQ(form.dialog.formsShown().size(), 4u);
  EXPECT_EQ(form.dialog.formsShown()[0].at(kEdit).text, "0");
  EXPECT_EQ(form.dialog.formsShown()[1].at(kEdit).text, "01");
  EXPECT_FALSE(form.dialog.formsShown()[1].at(kCheck).checked);
  EXPECT_TRUE(form.dialog.formsShown()[2].at(kCheck).checked);
}

TEST(ScriptedDialog, ReleaseEndsTheDialog) {
  Form form;
  form.dialog.release();
  EXPECT_FALSE(form.dialog.isOpen());
  EXPECT_EQ(form.dialog.releaseCount(), 1);
  EXPECT_THROW(form.dialog.getChecked(kCheck), std::logic_error);
  EXPECT_THROW(form.dialog.release(), std::logic_error);
  form.reopen(1);  // a fresh form: nothing carried over
  EXPECT_EQ(form.dialog.openCount(), 2);
  EXPECT_EQ(form.dialog.form().at(kList).items, (std::vector<std::string>{"1"}));
}

TEST(ScriptedDialog, ScriptFaultsAreReported) {
  Form form({{user::ToggleItem{kList, 6}}, {user::Click{kEdit}}, {user::SelectItems{kList, {0}}}});
  EXPECT_THROW(form.dialog.runModal(), std::logic_error);
  EXPECT_THROW(form.dialog.runModal(), std::logic_error);
  EXPECT_THROW(form.dialog.runModal(), std::logic_error);
  EXPECT_THROW(form.dialog.open(kTemplate), std::logic_error);
}

TEST(ScriptedPlatform, ConsoleRecordsAndAnswersFromItsInput) {
  RecordingConsole console({"first\r", "second"});
  console.writePrompt("Folder: ");
  console.writeLine(" line");
  console.waitForKey();
  EXPECT_EQ(console.readLine(), "first");
  EXPECT_EQ(console.readLine(), "second");
  EXPECT_EQ(console.readLine(), std::nullopt);
  EXPECT_EQ(console.prompts, (std::vector<std::string>{"Folder: "}));
  EXPECT_EQ(console.lines, (std::vector<std::string>{" line"}));
  EXPECT_EQ(console.keyWaits, 1);
}

TEST(ScriptedPlatform, BoxesAnswerInTurnThenCancel) {
  ScriptedMessageBox messageBox({MessageBoxAnswer::Retry});
  EXPECT_EQ(messageBox.show("a\nb", "QTV Message"), MessageBoxAnswer::Retry);
  EXPECT_EQ(messageBox.show("c", "QTV: ERROR"), MessageBoxAnswer::Cancel);
  EXPECT_EQ(messageBox.shown, (std::vector<ScriptedMessageBox::Shown>{{"a\nb", "QTV Message"}, {"c", "QTV: ERROR"}}));

  ScriptedFileOpenBox fileOpenBox({std::nullopt, "/data/comdin.dat"});
  const FileOpenRequest request{"Open", "Data", "*.dat", "/data", "comdin.dat"};
  EXPECT_EQ(fileOpenBox.choose(request), std::nullopt);
  EXPECT_EQ(fileOpenBox.choose(request), "/data/comdin.dat");
  EXPECT_EQ(fileOpenBox.choose(request), std::nullopt);
  ASSERT_EQ(fileOpenBox.requests.size(), 3u);
  EXPECT_EQ(fileOpenBox.requests[0].initialFolder, "/data");
}

}  // namespace
}  // namespace qtv
