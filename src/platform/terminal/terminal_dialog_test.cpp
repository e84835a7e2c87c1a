#include "platform/terminal/terminal_dialog.h"

#include <curses.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "platform/fixed_text.h"
#include "platform/terminal/terminal_message_box.h"

namespace qtv {
namespace {

constexpr int kEscape = 27;
constexpr std::array kHandledIds{IDC_START_TIME, IDC_END_TIME,    IDC_STEP_FREQUENCY, IDC_DISPLACEMENT,
                                 IDC_VELOCITY,   IDC_PHASE_PLANE, IDC_ACCELERATION,   IDC_NODES,
                                 IDC_DOF_X,      IDC_DOF_Y,       IDC_DOF_Z};

// The run parameters form filled as the program fills it, with a handler on every control
// that records which control changed and what Start Time held at that moment.
class TerminalDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog.open(runParametersTemplate()));
    for (const int id : kHandledIds)
      dialog.setHandler(id, [this](int changed) {
        calls.push_back(changed);
        startTimeSeen.emplace_back(withoutTrailingBlanks(dialog.getText(IDC_START_TIME, 40)));
      });
    dialog.setText(IDC_SUMMARY, " Motion History is calculated with:\r Time Step DT = 0.01\r (1000 steps)");
    dialog.setText(IDC_START_TIME, "0.0");
    dialog.setText(IDC_END_TIME, "10.");
    dialog.setText(IDC_STEP_FREQUENCY, "1");
    dialog.setChecked(IDC_DISPLACEMENT, true);
    dialog.setChecked(IDC_DOF_Y, true);
    dialog.setEnabled(IDC_DOF_Z, false);
    dialog.setItemCount(IDC_NODES, 10);
    for (int position = 1; position <= 10; ++position)
      dialog.setItemText(IDC_NODES, position, std::to_string(position * 10));
  }

  std::string text(int id) { return std::string(withoutTrailingBlanks(dialog.getText(id, 40))); }

  std::vector<std::int32_t> selection() {
    std::vector<std::int32_t> positions;
    for (std::int32_t k = 1; dialog.getSelectedItem(IDC_NODES, k) != 0; ++k)
      positions.push_back(dialog.getSelectedItem(IDC_NODES, k));
    return positions;
  }

  void press(std::initializer_list<int> keys) {
    for (const int key : keys) EXPECT_EQ(dialog.pressKey(key), std::nullopt) << key;
  }

  void type(std::string_view keys) {
    for (const char key : keys) EXPECT_EQ(dialog.pressKey(key), std::nullopt) << key;
  }

  // Tab until the control at `index` of the template has the focus.
  void focus(int index) {
    for (int i = 0; i < 20 && dialog.focusIndex() != index; ++i) press({'\t'});
    ASSERT_EQ(dialog.focusIndex(), index);
  }

  CellRect cellOf(int index) {
    return layoutForm(runParametersTemplate()).value()[static_cast<std::size_t>(index)];
  }

  TerminalDialog dialog;
  std::vector<int> calls;
  std::vector<std::string> startTimeSeen;
};

constexpr int kOk = 0, kCancel = 1, kStartTime = 5, kEndTime = 6, kNodes = 7, kPhasePlane = 10,
              kStepFrequency = 11, kDisplacement = 13, kDofX = 16, kDofZ = 18;

TEST_F(TerminalDialogTest, FillingTheFormRunsNoHandler) {
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 5), "0.0  ");
  EXPECT_EQ(dialog.getText(IDC_END_TIME, 2), "10");
  EXPECT_TRUE(dialog.getChecked(IDC_DISPLACEMENT));
  EXPECT_FALSE(dialog.getChecked(IDC_DOF_Z));
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 3, 5), "30   ");
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 1), 0);
}

TEST_F(TerminalDialogTest, TabFollowsTheTemplateOrderAndSkipsDisabledControls) {
  std::vector<int> order;
  for (int i = 0; i < 13; ++i) {
    press({'\t'});
    order.push_back(dialog.focusIndex());
  }
  // The first key finds the focus on OK, the first control that takes it.
  EXPECT_EQ(order, (std::vector<int>{1, 5, 6, 7, 10, 11, 13, 14, 15, 16, 17, 0, 1}));
  std::vector<int> backwards;
  for (int i = 0; i < 3; ++i) {
    press({KEY_BTAB});
    backwards.push_back(dialog.focusIndex());
  }
  EXPECT_EQ(backwards, (std::vector<int>{0, 17, 16}));

  dialog.setEnabled(IDC_DOF_Z, true);
  press({'\t', '\t'});
  EXPECT_EQ(dialog.focusIndex(), kDofZ);
  // Disabling the focused control moves the focus on.
  dialog.setEnabled(IDC_DOF_Z, false);
  EXPECT_EQ(dialog.focusIndex(), kOk);
  EXPECT_TRUE(calls.empty());
}

TEST_F(TerminalDialogTest, EveryKeystrokeThatChangesAnEditBoxRunsItsHandlerOnce) {
  focus(kStartTime);
  type("2.5");  // the marked "0.0" is replaced
  EXPECT_EQ(text(IDC_START_TIME), "2.5");
  EXPECT_EQ(calls, (std::vector<int>{IDC_START_TIME, IDC_START_TIME, IDC_START_TIME}));
  EXPECT_EQ(startTimeSeen, (std::vector<std::string>{"2", "2.", "2.5"}));
}

TEST_F(TerminalDialogTest, EditingKeys) {
  const struct {
    std::vector<int> keys;  // after Tab into Start Time, which marks "0.0"
    std::string text;
    std::size_t handlerRuns;
  } cases[] = {
      {{KEY_BACKSPACE}, "", 1},
      {{KEY_DC}, "", 1},
      {{KEY_LEFT, '1'}, "10.0", 1},
      {{KEY_END, KEY_BACKSPACE, 127}, "0", 2},
      {{KEY_HOME, KEY_DC}, ".0", 1},
      {{KEY_RIGHT, KEY_LEFT, '5'}, "0.50", 1},
      {{KEY_HOME, KEY_LEFT, KEY_BACKSPACE, KEY_END, KEY_RIGHT, KEY_DC}, "0.0", 0},
      {{KEY_HOME, KEY_UP, KEY_NPAGE, KEY_F(1), 200}, "0.0", 0},
  };
  for (const auto& c : cases) {
    SetUp();
    calls.clear();
    focus(kStartTime);
    for (const int key : c.keys) EXPECT_EQ(dialog.pressKey(key), std::nullopt);
    EXPECT_EQ(text(IDC_START_TIME), c.text) << c.keys.front();
    EXPECT_EQ(calls.size(), c.handlerRuns) << c.keys.front();
  }
}

TEST_F(TerminalDialogTest, TextLongerThanTheBoxIsKeptWhole) {
  focus(kStepFrequency);
  const std::string longText = "987654321098765432109876543210";
  type(longText);
  EXPECT_EQ(text(IDC_STEP_FREQUENCY), longText);
  EXPECT_EQ(calls.size(), longText.size());
}

TEST_F(TerminalDialogTest, SetTextDropsTrailingBlanks) {
  dialog.setText(IDC_END_TIME, "ab   ");
  const auto cell = cellOf(kEndTime);
  dialog.clickAt(cell.row, cell.column + cell.width - 2);  // beyond the text: caret at its end
  type("c");
  EXPECT_EQ(text(IDC_END_TIME), "abc");
  EXPECT_EQ(dialog.getText(IDC_END_TIME, 5), "abc  ");
}

TEST_F(TerminalDialogTest, SpaceTogglesTheFocusedCheckBox) {
  focus(kPhasePlane);
  press({' '});
  EXPECT_TRUE(dialog.getChecked(IDC_PHASE_PLANE));
  focus(kDisplacement);
  press({' '});
  EXPECT_FALSE(dialog.getChecked(IDC_DISPLACEMENT));
  press({'x', KEY_DOWN});
  EXPECT_EQ(calls, (std::vector<int>{IDC_PHASE_PLANE, IDC_DISPLACEMENT}));
}

TEST_F(TerminalDialogTest, ListCursorKeysChooseTheItemThatSpaceToggles) {
  // The list shows three rows of its ten items.
  const struct {
    std::vector<int> keys;
    std::int32_t toggled;
  } cases[] = {
      {{}, 1},
      {{KEY_DOWN, KEY_DOWN}, 3},
      {{KEY_UP}, 1},
      {{KEY_NPAGE}, 4},
      {{KEY_NPAGE, KEY_NPAGE, KEY_NPAGE, KEY_NPAGE}, 10},
      {{KEY_END, KEY_PPAGE}, 7},
      {{KEY_END, KEY_HOME}, 1},
      {{KEY_END, KEY_DOWN}, 10},
  };
  for (const auto& c : cases) {
    SetUp();
    calls.clear();
    focus(kNodes);
    press(std::initializer_list<int>{});
    for (const int key : c.keys) EXPECT_EQ(dialog.pressKey(key), std::nullopt);
    press({' '});
    EXPECT_EQ(selection(), (std::vector<std::int32_t>{c.toggled}));
    EXPECT_EQ(calls, (std::vector<int>{IDC_NODES}));
  }
}

TEST_F(TerminalDialogTest, SelectedItemsCountInPositionOrderWhateverTheClickOrder) {
  focus(kNodes);
  press({KEY_DOWN, KEY_DOWN, KEY_DOWN, ' ', KEY_UP, KEY_UP, ' ', KEY_END, ' '});
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{2, 4, 10}));
  press({KEY_HOME, KEY_DOWN, ' '});  // deselects item 2
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{4, 10}));
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 3), 0);
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 0), 0);
  EXPECT_EQ(calls.size(), 4u);

  // A new item count empties the list and its selection.
  dialog.setItemCount(IDC_NODES, 2);
  EXPECT_EQ(selection(), std::vector<std::int32_t>{});
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 1, 3), "   ");
}

TEST_F(TerminalDialogTest, ItemPositionsOutsideTheListAreRefused) {
  for (const std::int32_t position : {0, -1, 11, 1000}) dialog.setItemText(IDC_NODES, position, "99");
  for (std::int32_t position = 1; position <= 10; ++position)
    EXPECT_EQ(dialog.getItemText(IDC_NODES, position, 3), fixedField(std::to_string(position * 10), 3));
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 11, 3), "   ");
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 0, 2), "  ");
  dialog.setItemCount(IDC_NODES, -5);
  dialog.setItemText(IDC_NODES, 1, "99");
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 1, 2), "  ");
}

TEST_F(TerminalDialogTest, EnterPressesTheFocusedButtonOrElseTheDefaultOne) {
  const struct {
    int focusIndex;
    int key;
    std::optional<int> result;
  } cases[] = {
      {kOk, '\r', kDialogOk},         {kCancel, '\r', kDialogCancel},       {kStartTime, '\n', kDialogOk},
      {kNodes, KEY_ENTER, kDialogOk}, {kStartTime, kEscape, kDialogCancel}, {kCancel, ' ', kDialogCancel},
      {kOk, ' ', kDialogOk},
  };
  for (const auto& c : cases) {
    SetUp();
    focus(c.focusIndex);
    EXPECT_EQ(dialog.pressKey(c.key), c.result) << c.focusIndex << " " << c.key;
  }
  EXPECT_TRUE(calls.empty());
}

TEST_F(TerminalDialogTest, ClicksActOnTheControlUnderThePointer) {
  const auto box = cellOf(kDofX);
  EXPECT_EQ(dialog.clickAt(box.row, box.column + box.width - 1), std::nullopt);
  EXPECT_TRUE(dialog.getChecked(IDC_DOF_X));
  EXPECT_EQ(dialog.focusIndex(), kDofX);

  const auto list = cellOf(kNodes);
  dialog.clickAt(list.row + 2, list.column);
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{3}));
  // The scroll indicator's lower half scrolls one line: the first row then shows item 2.
  dialog.clickAt(list.row + list.height - 1, list.column + list.width - 1);
  dialog.clickAt(list.row, list.column + 1);
  EXPECT_EQ(selection(), (std::vector<std::int32_t>{2, 3}));

  const auto disabled = cellOf(kDofZ);
  dialog.clickAt(disabled.row, disabled.column);
  EXPECT_FALSE(dialog.getChecked(IDC_DOF_Z));
  const auto label = cellOf(3);
  dialog.clickAt(label.row, label.column);
  EXPECT_EQ(calls, (std::vector<int>{IDC_DOF_X, IDC_NODES, IDC_NODES}));

  const auto edit = cellOf(kStartTime);
  dialog.clickAt(edit.row, edit.column + 2);  // between "0" and ".0"
  EXPECT_EQ(dialog.focusIndex(), kStartTime);
  type("5");
  EXPECT_EQ(text(IDC_START_TIME), "05.0");

  const auto ok = cellOf(kOk);
  const auto cancel = cellOf(kCancel);
  EXPECT_EQ(dialog.clickAt(ok.row, ok.column + ok.width - 1), kDialogOk);
  EXPECT_EQ(dialog.clickAt(cancel.row, cancel.column), kDialogCancel);
}

TEST_F(TerminalDialogTest, AHandlerMayChangeTheFormWithoutRunningHandlers) {
  dialog.setHandler(IDC_PHASE_PLANE, [this](int changed) {
    calls.push_back(changed);
    dialog.setChecked(IDC_VELOCITY, true);
    dialog.setText(IDC_START_TIME, "7");
    dialog.setHandler(IDC_PHASE_PLANE, nullptr);  // replaces the running handler
  });
  focus(kPhasePlane);
  press({' ', ' '});
  EXPECT_EQ(calls, (std::vector<int>{IDC_PHASE_PLANE}));
  EXPECT_TRUE(dialog.getChecked(IDC_VELOCITY));
  EXPECT_EQ(text(IDC_START_TIME), "7");
}

TEST_F(TerminalDialogTest, ManySelectedItemsAreReadBackInOrder) {
  constexpr std::int32_t kItems = 20000;
  dialog.setItemCount(IDC_NODES, kItems);
  focus(kNodes);
  for (std::int32_t position = 1; position <= kItems; ++position) {
    if (position % 3 == 0) press({' '});
    press({KEY_DOWN});
  }
  const auto positions = selection();
  ASSERT_EQ(positions.size(), static_cast<std::size_t>(kItems / 3));
  for (std::size_t k = 0; k < positions.size(); ++k)
    EXPECT_EQ(positions[k], static_cast<std::int32_t>(3 * (k + 1)));
}

TEST(TerminalDialog, ActionsOnAReleasedOrUnopenedFormDoNothing) {
  TerminalDialog dialog;
  EXPECT_EQ(dialog.runModal(), kDialogFailed);
  EXPECT_EQ(dialog.pressKey('\r'), std::nullopt);
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 3), "   ");
  ASSERT_TRUE(dialog.open(runParametersTemplate()));
  dialog.release();
  EXPECT_EQ(dialog.runModal(), kDialogFailed);
  EXPECT_FALSE(dialog.getChecked(IDC_DISPLACEMENT));
}

// Runs body with standard input taken from /dev/null.
template <typename Body>
void withoutTerminalInput(Body body) {
  const int saved = dup(STDIN_FILENO);
  const int null = ::open("/dev/null", O_RDONLY);
  dup2(null, STDIN_FILENO);
  close(null);
  body();
  dup2(saved, STDIN_FILENO);
  close(saved);
}

TEST(TerminalDialog, RunModalFailsWithoutATerminal) {
  TerminalDialog dialog;
  ASSERT_TRUE(dialog.open(runParametersTemplate()));
  withoutTerminalInput([&] { EXPECT_EQ(dialog.runModal(), kDialogFailed); });
}

TEST(TerminalMessageBox, AsksTheFallbackWithoutATerminal) {
  struct Recording : MessageBox {
    MessageBoxAnswer show(std::string_view text, std::string_view caption) override {
      shown.emplace_back(std::string(caption) + "|" + std::string(text));
      return MessageBoxAnswer::Retry;
    }
    std::vector<std::string> shown;
  } fallback;
  TerminalMessageBox box(fallback);
  withoutTerminalInput(
      [&] { EXPECT_EQ(box.show(" line one\n line two", "QTV Message"), MessageBoxAnswer::Retry); });
  EXPECT_EQ(fallback.shown, (std::vector<std::string>{"QTV Message| line one\n line two"}));
}

}  // namespace
}  // namespace qtv
