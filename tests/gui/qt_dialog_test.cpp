#include "platform/qt/qt_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "gui_test_support.h"
#include "history/number_text.h"

namespace qtv {
namespace {

using test::whenModalShown;

TEST(DialogBaseUnitsTest, ConvertsDialogUnitsToRoundedPixels) {
  const DialogBaseUnits units{6, 13};
  // x and width in quarters of 6 px, y and height in eighths of 13 px, each rounded.
  EXPECT_EQ(units.toPixels(161, 244, 45, 15), QRect(242, 397, 68, 24));
  EXPECT_EQ(units.toPixels(0, 0, 213, 266), QRect(0, 0, 320, 432));
  EXPECT_EQ(units.toPixels(1, 1, 2, 4), QRect(2, 2, 3, 7));
}

TEST(DialogBaseUnitsTest, ComeFromTheFontMetrics) {
  const QFont font = dialogFont(runParametersTemplate());
  EXPECT_EQ(font.pointSize(), 8);
  const DialogBaseUnits units = dialogBaseUnits(font);
  const QFontMetrics metrics(font);
  EXPECT_EQ(units.charHeight, metrics.height());
  EXPECT_NEAR(units.charWidth, metrics.horizontalAdvance(QStringLiteral("x")), 3);
  EXPECT_GT(units.charWidth, 2);
}

class QtDialogTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.open(runParametersTemplate())); }

  // Shows the form without a modal loop, so clicks land where a user would see the controls.
  void showForm() {
    dialog.window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.window()));
  }

  // Records which handlers ran, in order.
  void recordHandlers(std::initializer_list<int> ids) {
    for (const int id : ids) dialog.setHandler(id, [this](int controlId) { ran.push_back(controlId); });
  }

  template <typename Widget>
  Widget* widget(int id) {
    auto* found = qobject_cast<Widget*>(dialog.control(id));
    EXPECT_NE(found, nullptr) << "control " << id;
    return found;
  }

  void clickItem(std::int32_t position) {
    auto* list = widget<QListView>(IDC_NODES);
    const QModelIndex index = list->model()->index(position - 1, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
  }

  std::vector<std::int32_t> selectedPositions() {
    std::vector<std::int32_t> positions;
    for (std::int32_t k = 1;; ++k) {
      const std::int32_t position = dialog.getSelectedItem(IDC_NODES, k);
      if (position == 0) return positions;
      positions.push_back(position);
    }
  }

  QtDialog dialog;
  std::vector<int> ran;
};

// The caption a control shows, whatever its kind.
QString captionOf(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  return {};
}

const char* widgetClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton: return "QPushButton";
    case ControlKind::StaticText: return "QLabel";
    case ControlKind::EditBox: return "QLineEdit";
    case ControlKind::ListBox: return "QListView";
    case ControlKind::GroupBox: return "QGroupBox";
    case ControlKind::CheckBox: return "QCheckBox";
  }
  return "";
}

TEST_F(QtDialogTest, BuildsEveryControlOfTheTemplateInPlace) {
  const DialogTemplate& form = runParametersTemplate();
  const DialogBaseUnits units = dialogBaseUnits(dialog.window()->font());
  EXPECT_EQ(dialog.window()->windowTitle(), "QTV Dialog");
  // Fixed size: the client area of 213 x 266 dialog units, not resizable.
  EXPECT_EQ(dialog.window()->minimumSize(), units.toPixels(0, 0, 213, 266).size());
  EXPECT_EQ(dialog.window()->maximumSize(), units.toPixels(0, 0, 213, 266).size());

  ASSERT_EQ(form.controls.size(), 20u);
  for (std::size_t i = 0; i < form.controls.size(); ++i) {
    const ControlTemplate& control = form.controls[i];
    SCOPED_TRACE("control " + std::to_string(i) + " " + std::string(control.caption));
    QWidget* widget = dialog.controlAt(i);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), widgetClassOf(control.kind));
    EXPECT_EQ(captionOf(widget).toStdString(), control.caption);
    EXPECT_EQ(widget->geometry(), units.toPixels(control.x, control.y, control.width, control.height));
    EXPECT_TRUE(widget->isEnabled());
    if (control.id != kNoControlId) {
      EXPECT_EQ(dialog.control(control.id), widget);
    }
  }
  EXPECT_EQ(dialog.controlAt(20), nullptr);
  EXPECT_EQ(dialog.control(kNoControlId), nullptr);
  EXPECT_EQ(dialog.control(4711), nullptr);
}

TEST_F(QtDialogTest, StylesFollowTheTemplate) {
  EXPECT_TRUE(widget<QPushButton>(IDOK)->isDefault());
  EXPECT_FALSE(widget<QPushButton>(IDCANCEL)->isDefault());
  auto* summary = widget<QLabel>(IDC_SUMMARY);
  EXPECT_EQ(summary->frameShape(), QFrame::Panel);
  EXPECT_EQ(summary->frameShadow(), QFrame::Sunken);
  auto* startTime = qobject_cast<QLabel*>(dialog.controlAt(3));
  EXPECT_EQ(startTime->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(startTime->wordWrap());
  EXPECT_TRUE(qobject_cast<QLabel*>(dialog.controlAt(12))->wordWrap());  // "Step Frequency (integer)"
  auto* list = widget<QListView>(IDC_NODES);
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::MultiSelection);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(QtDialogTest, GroupBoxStaysBehindTheControlsItSurrounds) {
  showForm();
  for (const int id : {IDC_DOF_Z, IDC_START_TIME, IDC_SUMMARY, IDC_DISPLACEMENT}) {
    QWidget* control = dialog.control(id);
    QWidget* hit = dialog.window()->childAt(control->geometry().center());
    EXPECT_TRUE(hit == control || control->isAncestorOf(hit)) << "control " << id;
  }
}

TEST_F(QtDialogTest, TabOrderIsTemplateOrderOfTheTabStops) {
  const std::vector<int> expected{IDOK,           IDCANCEL,           IDC_START_TIME,   IDC_END_TIME,  IDC_NODES,
                                  IDC_PHASE_PLANE, IDC_STEP_FREQUENCY, IDC_DISPLACEMENT, IDC_VELOCITY,  IDC_ACCELERATION,
                                  IDC_DOF_X,      IDC_DOF_Y,          IDC_DOF_Z};
  std::vector<int> order;
  QWidget* widget = dialog.control(IDOK);
  do {
    for (const int id : expected) {
      if (dialog.control(id) == widget) order.push_back(id);
    }
    widget = widget->nextInFocusChain();
  } while (widget != dialog.control(IDOK) && order.size() <= expected.size());
  EXPECT_EQ(order, expected);
  // Labels and the frame take no focus.
  for (const std::size_t label : {3u, 4u, 8u, 9u, 12u, 19u}) {
    EXPECT_EQ(dialog.controlAt(label)->focusPolicy() & Qt::TabFocus, 0) << "control " << label;
  }
}

TEST_F(QtDialogTest, SetOperationsRunNoHandler) {
  recordHandlers({IDC_START_TIME, IDC_DISPLACEMENT, IDC_NODES, IDC_DOF_Z});
  dialog.setText(IDC_START_TIME, "0.0");
  dialog.setChecked(IDC_DISPLACEMENT, true);
  dialog.setEnabled(IDC_DOF_Z, false);
  dialog.setItemCount(IDC_NODES, 3);
  dialog.setItemText(IDC_NODES, 2, "7");
  showForm();
  clickItem(1);
  ASSERT_EQ(ran, std::vector<int>{IDC_NODES});
  dialog.setItemCount(IDC_NODES, 3);  // clears the user's selection without a handler run
  EXPECT_EQ(ran, std::vector<int>{IDC_NODES});
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 1), 0);
}

TEST_F(QtDialogTest, EveryKeystrokeInAnEditBoxRunsItsHandler) {
  recordHandlers({IDC_START_TIME, IDC_END_TIME});
  dialog.setText(IDC_START_TIME, "0.0");
  showForm();
  auto* edit = widget<QLineEdit>(IDC_START_TIME);
  edit->setFocus();
  edit->end(false);
  std::vector<std::string> seen;
  dialog.setHandler(IDC_START_TIME, [&](int id) {
    ran.push_back(id);
    seen.push_back(dialog.getText(IDC_START_TIME, 6));
  });
  QTest::keyClicks(edit, "12");
  QTest::keyClick(edit, Qt::Key_Backspace);
  EXPECT_EQ(ran, (std::vector<int>{IDC_START_TIME, IDC_START_TIME, IDC_START_TIME}));
  EXPECT_EQ(seen, (std::vector<std::string>{"0.01  ", "0.012 ", "0.01  "}));
}

TEST_F(QtDialogTest, ClickingACheckBoxToggles) {
  recordHandlers({IDC_DISPLACEMENT, IDC_VELOCITY});
  dialog.setChecked(IDC_DISPLACEMENT, true);
  showForm();
  QTest::mouseClick(widget<QCheckBox>(IDC_DISPLACEMENT), Qt::LeftButton);
  QTest::mouseClick(widget<QCheckBox>(IDC_VELOCITY), Qt::LeftButton);
  EXPECT_EQ(ran, (std::vector<int>{IDC_DISPLACEMENT, IDC_VELOCITY}));
  EXPECT_FALSE(dialog.getChecked(IDC_DISPLACEMENT));
  EXPECT_TRUE(dialog.getChecked(IDC_VELOCITY));
}

TEST_F(QtDialogTest, ADisabledCheckBoxCannotBeClickedIntoAChange) {
  recordHandlers({IDC_DOF_Z});
  dialog.setEnabled(IDC_DOF_Z, false);
  showForm();
  auto* box = widget<QCheckBox>(IDC_DOF_Z);
  QTest::mouseClick(box, Qt::LeftButton);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_TRUE(ran.empty());
  EXPECT_FALSE(dialog.getChecked(IDC_DOF_Z));
  dialog.setEnabled(IDC_DOF_Z, true);
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(ran, std::vector<int>{IDC_DOF_Z});
  EXPECT_TRUE(dialog.getChecked(IDC_DOF_Z));
}

TEST_F(QtDialogTest, AClickTogglesOneItemAndSelectedItemsCountInPositionOrder) {
  recordHandlers({IDC_NODES});
  dialog.setItemCount(IDC_NODES, 5);
  for (std::int32_t position = 1; position <= 5; ++position) {
    dialog.setItemText(IDC_NODES, position, integerText(position * 10));
  }
  showForm();
  EXPECT_TRUE(selectedPositions().empty());
  clickItem(4);
  clickItem(2);
  clickItem(5);
  EXPECT_EQ(selectedPositions(), (std::vector<std::int32_t>{2, 4, 5}));
  clickItem(4);  // a second click deselects
  EXPECT_EQ(selectedPositions(), (std::vector<std::int32_t>{2, 5}));
  EXPECT_EQ(ran.size(), 4u);
  EXPECT_EQ(dialog.getItemText(IDC_NODES, dialog.getSelectedItem(IDC_NODES, 2), 5), "50   ");
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 0), 0);
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, -1), 0);
  clickItem(2);
  clickItem(5);
  EXPECT_TRUE(selectedPositions().empty());
}

TEST_F(QtDialogTest, ItemTextOutsideTheListIsRefused) {
  dialog.setItemCount(IDC_NODES, 3);
  struct Case {
    std::int32_t position;
    bool accepted;
  };
  for (const Case& c : {Case{-1, false}, Case{0, false}, Case{1, true}, Case{3, true}, Case{4, false},
                        Case{1000, false}}) {
    SCOPED_TRACE(c.position);
    dialog.setItemText(IDC_NODES, c.position, "17");
    EXPECT_EQ(dialog.getItemText(IDC_NODES, c.position, 4), c.accepted ? "17  " : "    ");
  }
  EXPECT_EQ(widget<QListView>(IDC_NODES)->model()->rowCount(), 3);
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 2, 4), "    ");
}

TEST_F(QtDialogTest, SetItemCountGivesEmptyItemsAndNoSelection) {
  dialog.setItemCount(IDC_NODES, 2);
  dialog.setItemText(IDC_NODES, 1, "5");
  dialog.setItemCount(IDC_NODES, 4);
  EXPECT_EQ(widget<QListView>(IDC_NODES)->model()->rowCount(), 4);
  EXPECT_EQ(dialog.getItemText(IDC_NODES, 1, 3), "   ");
  dialog.setItemCount(IDC_NODES, -3);
  EXPECT_EQ(widget<QListView>(IDC_NODES)->model()->rowCount(), 0);
}

TEST_F(QtDialogTest, TextsArePaddedOrCutAndLoseTrailingBlanks) {
  dialog.setText(IDC_START_TIME, "12.5   ");
  EXPECT_EQ(widget<QLineEdit>(IDC_START_TIME)->text(), "12.5");
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 6), "12.5  ");
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 2), "12");
  EXPECT_EQ(dialog.getText(IDC_END_TIME, 3), "   ");
  // The summary's lines are separated by a lone CR.
  dialog.setText(IDC_SUMMARY, " Motion:\r DT = 0.01\r (10 steps)  ");
  EXPECT_EQ(widget<QLabel>(IDC_SUMMARY)->text(), " Motion:\n DT = 0.01\n (10 steps)");
}

TEST_F(QtDialogTest, ClosingButtonsAndKeysGiveTheButtonId) {
  struct Case {
    const char* name;
    std::function<void(QtDialog&)> act;
    int expected;
  };
  const std::vector<Case> cases{
      {"OK clicked", [](QtDialog& d) { QTest::mouseClick(d.control(IDOK), Qt::LeftButton); }, kDialogOk},
      {"Cancel clicked", [](QtDialog& d) { QTest::mouseClick(d.control(IDCANCEL), Qt::LeftButton); }, kDialogCancel},
      {"Enter in an edit box", [](QtDialog& d) { QTest::keyClick(d.control(IDC_START_TIME), Qt::Key_Return); },
       kDialogOk},
      {"Enter on a check box", [](QtDialog& d) { QTest::keyClick(d.control(IDC_DOF_X), Qt::Key_Enter); }, kDialogOk},
      {"Escape", [](QtDialog& d) { QTest::keyClick(d.control(IDC_START_TIME), Qt::Key_Escape); }, kDialogCancel},
      {"close box", [](QtDialog& d) { d.window()->close(); }, kDialogCancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(dialog.open(runParametersTemplate()));
    ran.clear();
    recordHandlers({IDC_START_TIME, IDC_DOF_X, IDC_NODES});
    bool acted = false;
    whenModalShown([&](QWidget* modal) {
      acted = modal == dialog.window();
      c.act(dialog);
    });
    EXPECT_EQ(dialog.runModal(), c.expected);
    EXPECT_TRUE(acted);
    EXPECT_TRUE(ran.empty());
    dialog.release();
  }
}

TEST_F(QtDialogTest, ShowsCentredOnTheScreen) {
  QPoint centre, screenCentre;
  whenModalShown([&](QWidget* modal) {
    centre = modal->frameGeometry().center();
    screenCentre = modal->screen()->availableGeometry().center();
    modal->close();
  });
  EXPECT_EQ(dialog.runModal(), kDialogCancel);
  EXPECT_LE((centre - screenCentre).manhattanLength(), 2);
}

TEST_F(QtDialogTest, ReleaseFreesTheForm) {
  dialog.release();
  EXPECT_EQ(dialog.window(), nullptr);
  EXPECT_EQ(dialog.runModal(), kDialogFailed);
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 2), "  ");
  EXPECT_FALSE(dialog.getChecked(IDC_DISPLACEMENT));
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, 1), 0);
  dialog.setItemText(IDC_NODES, 1, "1");  // harmless without a form
  // A fresh form starts from the template again.
  ASSERT_TRUE(dialog.open(runParametersTemplate()));
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 2), "  ");
}

TEST_F(QtDialogTest, AHundredThousandItemsFillAndSelect) {
  constexpr std::int32_t kItems = 100000;
  recordHandlers({IDC_NODES});
  dialog.setItemCount(IDC_NODES, kItems);
  for (std::int32_t position = 1; position <= kItems; ++position) {
    dialog.setItemText(IDC_NODES, position, integerText(position));
  }
  showForm();
  clickItem(kItems);
  clickItem(1);
  clickItem(kItems / 2);
  EXPECT_EQ(ran.size(), 3u);
  EXPECT_EQ(selectedPositions(), (std::vector<std::int32_t>{1, kItems / 2, kItems}));
  EXPECT_EQ(dialog.getItemText(IDC_NODES, kItems, 7), "100000 ");
  widget<QListView>(IDC_NODES)->selectAll();
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, kItems), kItems);
  EXPECT_EQ(dialog.getSelectedItem(IDC_NODES, kItems + 1), 0);
}

}  // namespace
}  // namespace qtv
