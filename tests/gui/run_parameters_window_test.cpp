// The run parameters dialog in a real window: what the user sees first, and what clicking and
// typing put into the run parameters.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "dialog/run_parameters_dialog.h"
#include "gui_test_support.h"
#include "platform/qt/qt_dialog.h"

namespace qtv {
namespace {

using test::whenModalShown;

class RecordingConsole final : public Console {
 public:
  void writeLine(std::string_view text) override { lines.emplace_back(text); }
  void writePrompt(std::string_view text) override { lines.emplace_back(text); }
  std::optional<std::string> readLine() override { return std::nullopt; }
  void waitForKey() override {}
  std::vector<std::string> lines;
};

// nodeCount nodes; the nodes in `restrained` have every degree of freedom fixed.
AnalysisDescription sampleDescription(std::int32_t nodeCount, std::int32_t dofPerNode,
                                      std::vector<std::int32_t> restrained, char language) {
  AnalysisDescription description;
  description.nodeCount = nodeCount;
  description.dofPerNode = dofPerNode;
  description.restraintLineCount = static_cast<std::int32_t>(restrained.size());
  description.restraintCode.assign(static_cast<std::size_t>(nodeCount * dofPerNode), 0);
  for (const std::int32_t node : restrained) {
    for (std::int32_t dof = 0; dof < dofPerNode; ++dof) {
      description.restraintCode[static_cast<std::size_t>((node - 1) * dofPerNode + dof)] = 1;
    }
  }
  description.DT = 0.01f;
  description.TT = 10.0f;
  description.stepCount = 1001;
  description.languageText[0] = language;
  return description;
}

// The shown form, read back as the user sees it.
struct ShownForm {
  QString summary, startTime, endTime, stepFrequency;
  std::vector<bool> checked;  // Displacement, Velocity, Phase Plane, Acceleration, X, Y, Z
  bool zEnabled = false;
  QStringList items;
  bool anySelected = true;
};

ShownForm readForm(QtDialog& dialog) {
  ShownForm form;
  form.summary = qobject_cast<QLabel*>(dialog.control(IDC_SUMMARY))->text();
  form.startTime = qobject_cast<QLineEdit*>(dialog.control(IDC_START_TIME))->text();
  form.endTime = qobject_cast<QLineEdit*>(dialog.control(IDC_END_TIME))->text();
  form.stepFrequency = qobject_cast<QLineEdit*>(dialog.control(IDC_STEP_FREQUENCY))->text();
  for (const int id : {IDC_DISPLACEMENT, IDC_VELOCITY, IDC_PHASE_PLANE, IDC_ACCELERATION, IDC_DOF_X, IDC_DOF_Y,
                       IDC_DOF_Z}) {
    form.checked.push_back(qobject_cast<QCheckBox*>(dialog.control(id))->isChecked());
  }
  form.zEnabled = dialog.control(IDC_DOF_Z)->isEnabled();
  auto* list = qobject_cast<QListView*>(dialog.control(IDC_NODES));
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    QString item = list->model()->index(row, 0).data().toString();
    while (item.endsWith(QLatin1Char(' '))) item.chop(1);  // items may come as blank-padded fields
    form.items << item;
  }
  form.anySelected = list->selectionModel()->hasSelection();
  return form;
}

TEST(RunParametersWindowTest, InitialStateInBothLanguagesAndBothDirectionCounts) {
  const QString english =
      " Motion History is calculated with:\n Time Step DT = 0.01 up to time TT = 10.\n (1000 steps)";
  const QString romanian =
      " Istoria miscarii este calculata cu:\n Pasul de timp DT = 0.01 pana la timpul TT = 10.\n (1000 pasi)";
  struct Case {
    char language;
    std::int32_t dofPerNode;
    QString summary;
    std::vector<bool> checked;
    bool zEnabled;
  };
  const std::vector<Case> cases{
      {'E', 2, english, {true, false, false, false, false, true, false}, false},
      {'r', 2, romanian, {true, false, false, false, false, true, false}, false},
      {' ', 3, english, {true, false, false, false, false, false, true}, true},
      {'R', 3, romanian, {true, false, false, false, false, false, true}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("language '") + c.language + "', dofPerNode " + std::to_string(c.dofPerNode));
    const AnalysisDescription description = sampleDescription(5, c.dofPerNode, {1, 5}, c.language);
    RunParameters parameters;
    parameters.tStart = -7;  // the handler runs only on the user's changes
    QtDialog dialog;
    RecordingConsole console;
    ShownForm form;
    whenModalShown([&](QWidget*) {
      form = readForm(dialog);
      QTest::keyClick(dialog.control(IDC_START_TIME), Qt::Key_Escape);
    });
    EXPECT_EQ(showRunParametersDialog(dialog, console, description, parameters), kDialogCancel);
    EXPECT_EQ(form.summary, c.summary);
    EXPECT_EQ(form.startTime, "0.0");
    EXPECT_EQ(form.endTime, "10.");
    EXPECT_EQ(form.stepFrequency, "1");
    EXPECT_EQ(form.checked, c.checked);
    EXPECT_EQ(form.zEnabled, c.zEnabled);
    EXPECT_EQ(form.items, (QStringList{"2", "3", "4"}));
    EXPECT_FALSE(form.anySelected);
    EXPECT_EQ(parameters.tStart, -7);
    EXPECT_EQ(parameters.selectedCount, 0);
    EXPECT_EQ(dialog.window(), nullptr);  // released after the attempt
    EXPECT_TRUE(console.lines.empty());
  }
}

TEST(RunParametersWindowTest, TheUsersTypingAndClicksBecomeTheRunParameters) {
  const AnalysisDescription description = sampleDescription(5, 2, {1, 5}, 'E');
  RunParameters parameters;
  QtDialog dialog;
  RecordingConsole console;
  std::vector<float> startTimes;
  std::vector<std::vector<std::int32_t>> selections;
  whenModalShown([&](QWidget*) {
    QWidget* startTime = dialog.control(IDC_START_TIME);
    startTime->setFocus();
    QTest::keyClick(startTime, Qt::Key_A, Qt::ControlModifier);
    for (const char key : std::string("2.5")) {
      QTest::keyClick(startTime, key);
      startTimes.push_back(parameters.tStart);
    }
    QTest::mouseClick(dialog.control(IDC_VELOCITY), Qt::LeftButton);
    QTest::mouseClick(dialog.control(IDC_PHASE_PLANE), Qt::LeftButton);
    QTest::mouseClick(dialog.control(IDC_DOF_X), Qt::LeftButton);
    QTest::mouseClick(dialog.control(IDC_DOF_Z), Qt::LeftButton);  // disabled with two directions
    auto* list = qobject_cast<QListView*>(dialog.control(IDC_NODES));
    for (const int row : {2, 0}) {
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
      selections.emplace_back(parameters.selectedNodes.begin(),
                              parameters.selectedNodes.begin() + parameters.selectedCount);
    }
    QTest::mouseClick(dialog.control(IDOK), Qt::LeftButton);
  });
  EXPECT_EQ(showRunParametersDialog(dialog, console, description, parameters), kDialogOk);
  EXPECT_EQ(startTimes, (std::vector<float>{2.0f, 2.0f, 2.5f}));
  EXPECT_EQ(selections, (std::vector<std::vector<std::int32_t>>{{4}, {2, 4}}));
  EXPECT_EQ(parameters.tStart, 2.5f);
  EXPECT_EQ(parameters.tEnd, 10.0f);
  EXPECT_EQ(parameters.stepFrequency, 1);
  EXPECT_TRUE(parameters.wantDisplacement);
  EXPECT_TRUE(parameters.wantVelocity);
  EXPECT_TRUE(parameters.wantPhasePlane);
  EXPECT_FALSE(parameters.wantAcceleration);
  EXPECT_EQ(parameters.wantDirection, (std::array<bool, 3>{true, true, false}));
  EXPECT_EQ(parameters.selectedCount, 2);
  EXPECT_EQ(parameters.selectedNodes, (std::vector<std::int32_t>{2, 4, 0, 0, 0}));
}

// Renders the filled form for reviewers: build/artifacts/qtv_dialog*.png.
TEST(RunParametersWindowTest, RendersTheFilledFormToAnImage) {
  for (const auto& [language, file] : {std::pair{'E', "qtv_dialog.png"}, std::pair{'R', "qtv_dialog_ro.png"}}) {
    const AnalysisDescription description = sampleDescription(40, 3, {1, 2, 40}, language);
    RunParameters parameters;
    QtDialog dialog;
    RecordingConsole console;
    QImage image;
    QSize windowSize;
    whenModalShown([&](QWidget* window) {
      windowSize = window->size();
      image = window->grab().toImage();
      QTest::mouseClick(dialog.control(IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(showRunParametersDialog(dialog, console, description, parameters), kDialogCancel);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), windowSize * image.devicePixelRatio());
    ASSERT_TRUE(QDir().mkpath(QTV_ARTIFACT_DIR));
    EXPECT_TRUE(image.save(QStringLiteral(QTV_ARTIFACT_DIR "/") + file));
  }
}

}  // namespace
}  // namespace qtv
