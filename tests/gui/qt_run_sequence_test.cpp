// The whole interactive run on the Qt windows: the test acts as the user on every file-open box,
// message box and form the run shows, in turn, and reads what the run wrote.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/dialog_template.h"
#include "driver/run.h"
#include "history/number_text.h"
#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_file_open_box.h"
#include "platform/qt/qt_message_box.h"
#include "platform/scripted/scripted_platform.h"
#include "work_directory_fixture.h"

namespace qtv {
namespace {

using test::CaseShape;
using test::WorkDirectoryFixture;

// Acts on the modal windows of a run in turn, each once it is on top. A window the script does
// not expect, or one left open for long after its step, is noted and closed; every way of
// closing a window of the run leads the run on to its end, so a wrong turn fails the test
// instead of hanging it.
class ModalScript {
 public:
  struct Step {
    std::string what;
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> act;
  };

  explicit ModalScript(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
    poll_.start(5);
  }

  void expectAllDone() const {
    EXPECT_TRUE(problems_.empty()) << testing::PrintToString(problems_);
    EXPECT_TRUE(steps_.empty()) << "never shown: " << steps_.front().what;
  }

 private:
  static constexpr qint64 kPatienceMs = 30000;

  static std::string describe(QWidget* window) {
    return std::string(window->metaObject()->className()) + " '" + window->windowTitle().toStdString() + "'";
  }

  void poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (busy_ || modal == nullptr) return;
    if (modal == handled_) {
      if (shownFor_.hasExpired(kPatienceMs)) {
        problems_.push_back(describe(modal) + " stayed open");
        shownFor_.start();
        modal->close();
      }
      return;
    }
    handled_ = modal;
    shownFor_.start();
    if (steps_.empty() || !steps_.front().matches(modal)) {
      problems_.push_back("expected " + (steps_.empty() ? std::string("no window") : steps_.front().what) + ", shown " +
                          describe(modal));
      modal->close();
      return;
    }
    Step step = std::move(steps_.front());
    steps_.pop_front();
    busy_ = true;  // a nested event loop inside the action must not start the next step
    step.act(modal);
    busy_ = false;
  }

  std::deque<Step> steps_;
  std::vector<std::string> problems_;
  QTimer poll_;
  QPointer<QWidget> handled_;
  QElapsedTimer shownFor_;
  bool busy_ = false;
};

ModalScript::Step fileBox(std::function<void(QFileDialog*)> act) {
  return {"the file-open box", [](QWidget* window) { return qobject_cast<QFileDialog*>(window) != nullptr; },
          [act = std::move(act)](QWidget* window) { act(qobject_cast<QFileDialog*>(window)); }};
}

ModalScript::Step messageBox(std::function<void(QMessageBox*)> act) {
  return {"a message box", [](QWidget* window) { return qobject_cast<QMessageBox*>(window) != nullptr; },
          [act = std::move(act)](QWidget* window) { act(qobject_cast<QMessageBox*>(window)); }};
}

ModalScript::Step form(QtDialog& dialog, std::function<void()> act) {
  return {"the run parameters form", [&dialog](QWidget* window) { return window == dialog.window(); },
          [act = std::move(act)](QWidget*) { act(); }};
}

// Enters a full path in the name field and presses Enter.
std::function<void(QFileDialog*)> openFile(std::string path) {
  return [path = std::move(path)](QFileDialog* box) {
    EXPECT_EQ(box->windowTitle(), "Select Any File in the Work Directory");
    auto* field = box->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(QFile::decodeName(path.c_str()));
    QTest::keyClick(field, Qt::Key_Return);
  };
}

void pressEscape(QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); }

// Checks the box and clicks `button`.
std::function<void(QMessageBox*)> answer(QString text, QString caption, QMessageBox::StandardButton button) {
  return [=](QMessageBox* box) {
    EXPECT_EQ(box->text(), text);
    EXPECT_EQ(box->windowTitle(), caption);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Retry | QMessageBox::Cancel);
    QTest::mouseClick(box->button(button), Qt::LeftButton);
  };
}

const QString kMissingFiles = " Not all the needed files exist in this directory.\n Retry for another Browse.";

void click(QtDialog& dialog, int controlId) { QTest::mouseClick(dialog.control(controlId), Qt::LeftButton); }

// Replaces the Start Time with `text`, typed key by key.
void typeStartTime(QtDialog& dialog, const char* text) {
  QWidget* field = dialog.control(IDC_START_TIME);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
  EXPECT_EQ(qobject_cast<QLineEdit*>(field)->text(), text);
}

QString startTimeShown(QtDialog& dialog) { return qobject_cast<QLineEdit*>(dialog.control(IDC_START_TIME))->text(); }

// Clicks the list item that shows `node`.
void clickNodeItem(QtDialog& dialog, const QString& node) {
  auto* list = qobject_cast<QListView*>(dialog.control(IDC_NODES));
  ASSERT_NE(list, nullptr);
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    const QModelIndex index = list->model()->index(row, 0);
    if (index.data().toString().trimmed() != node) continue;
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    return;
  }
  ADD_FAILURE() << "no item " << node.toStdString();
}

// The program's own windows and a console that answers from `inputLines`.
struct QtRun {
  explicit QtRun(std::vector<std::string> inputLines = {}) : console(std::move(inputLines)) {}

  int run() {
    Platform platform{console, fileOpenBox, messageBox, dialog};
    return runInteractive(platform, errors);
  }

  RecordingConsole console;
  QtFileOpenBox fileOpenBox;
  QtMessageBox messageBox;
  QtDialog dialog;
  std::ostringstream errors;
};

// Nodes 2 to 4 free, steps 0 to 6 at exact times 0, 0.25, ..., 1.5.
const CaseShape kShape{
    .nodeCount = 4, .restrainedNodes = {1}, .DT = "0.25", .TT = "1.5", .stepCount = 7, .storedSteps = 7};

const std::vector<std::string> kCaseFiles{"comdin.dat", "u01.unf", "u2.unf"};

// A history file of kShape: time and value of u01.unf's word `word` of `node` at each step of
// firstStep ... 6.
std::string expectedHistory(std::int32_t node, int word, std::int64_t firstStep) {
  std::string text;
  for (std::int64_t step = firstStep; step <= 6; ++step) {
    char line[2 * kHistoryFieldWidth];
    formatHistoryField(static_cast<float>(step) * 0.25f, line);
    formatHistoryField(test::knownValue(1, node, step, word, kShape.dofPerNode), line + kHistoryFieldWidth);
    text.append(line, sizeof line).append("\r\n");
  }
  return text;
}

TEST(QtRunSequence, AWholeRunWritesTheHistoriesOfTheClickedChoices) {
  WorkDirectoryFixture work;
  work.writeCase(kShape);
  QtRun run;
  ModalScript script({
      fileBox(openFile(work.file("comdin.dat"))),
      form(run.dialog,
           [&] {
             typeStartTime(run.dialog, "0.75");
             click(run.dialog, IDC_VELOCITY);
             click(run.dialog, IDC_DOF_X);  // Z is checked already
             clickNodeItem(run.dialog, "4");
             clickNodeItem(run.dialog, "2");
             click(run.dialog, IDOK);
           }),
  });

  EXPECT_EQ(run.run(), 0);
  script.expectAllDone();
  const std::string folder = work.path() + "/";
  std::vector<std::string> lines{" No. of Selected Nodes = 2", " Creating Files:"};
  for (const char* node : {"2", "4"}) {
    lines.push_back(std::string(" Node ") + node + ":");
    for (const char* file : {"x.dep", "z.dep", "x.vit", "z.vit"}) {
      lines.push_back(std::string(" ") + file[0] + ": " + folder + node + file);
    }
    lines.push_back(std::string(" * Working for node ") + node + " ...");
  }
  lines.insert(lines.end(), {" *QTV finished", "", "Press any key"});
  EXPECT_EQ(run.console.lines, lines);
  EXPECT_TRUE(run.console.prompts.empty());
  EXPECT_EQ(run.console.keyWaits, 1);
  EXPECT_EQ(run.errors.str(), "");

  // From step 3 (0.75) to TT; node 2 in X at 0.75: 2 + 3/4 + 1/64.
  EXPECT_EQ(work.readText("2x.dep").substr(0, 32), "  0.7500000       2.765625    \r\n");
  for (const std::int32_t node : {2, 4}) {
    SCOPED_TRACE(node);
    const std::string name = integerText(node);
    EXPECT_EQ(work.readText(name + "x.dep"), expectedHistory(node, 0, 3));
    EXPECT_EQ(work.readText(name + "z.dep"), expectedHistory(node, 2, 3));
    EXPECT_EQ(work.readText(name + "x.vit"), expectedHistory(node, 3, 3));
    EXPECT_EQ(work.readText(name + "z.vit"), expectedHistory(node, 5, 3));
  }
  EXPECT_EQ(work.entries(), (std::vector<std::string>{"2x.dep", "2x.vit", "2z.dep", "2z.vit", "4x.dep", "4x.vit",
                                                      "4z.dep", "4z.vit", "comdin.dat", "u01.unf", "u2.unf"}));
}

TEST(QtRunSequence, RetryGivesAFreshFileBoxAndAFreshForm) {
  WorkDirectoryFixture empty;
  WorkDirectoryFixture work;
  work.writeCase(kShape);
  QtRun run;
  ModalScript script({
      fileBox(openFile(empty.file("notes.txt"))),
      messageBox(answer(kMissingFiles, "QTV Message", QMessageBox::Retry)),
      fileBox([&](QFileDialog* box) {
        // The box comes back on the file chosen before.
        EXPECT_EQ(box->directory().absolutePath().toStdString(), empty.path());
        EXPECT_EQ(box->findChild<QLineEdit*>("fileNameEdit")->text(), "notes.txt");
        openFile(work.file("u01.unf"))(box);
      }),
      form(run.dialog,
           [&] {
             typeStartTime(run.dialog, "0.75");
             click(run.dialog, IDC_VELOCITY);
             click(run.dialog, IDOK);
           }),
      messageBox(answer("No Node has been selected", "QTV: ERROR", QMessageBox::Retry)),
      form(run.dialog,
           [&] {
             EXPECT_EQ(startTimeShown(run.dialog), "0.0");
             EXPECT_FALSE(qobject_cast<QCheckBox*>(run.dialog.control(IDC_VELOCITY))->isChecked());
             clickNodeItem(run.dialog, "3");
             click(run.dialog, IDOK);
           }),
  });

  EXPECT_EQ(run.run(), 0);
  script.expectAllDone();
  const std::string folder = work.path() + "/";
  EXPECT_EQ(run.console.lines, (std::vector<std::string>{" No. of Selected Nodes = 1", " Creating Files:", " Node 3:",
                                                         " z: " + folder + "3z.dep", " * Working for node 3 ...",
                                                         " *QTV finished", "", "Press any key"}));
  EXPECT_EQ(run.console.keyWaits, 1);
  // The whole response: nothing of the first form's typing is left.
  EXPECT_EQ(work.readText("3z.dep"), expectedHistory(3, 2, 0));
  EXPECT_TRUE(empty.entries().empty());
}

TEST(QtRunSequence, CancelAnywhereEndsTheRun) {
  WorkDirectoryFixture empty;
  WorkDirectoryFixture work;
  work.writeCase(kShape);
  const std::string folder = work.path() + "/";
  struct Case {
    const char* name;
    std::vector<std::string> inputLines;
    std::function<std::vector<ModalScript::Step>(QtDialog&)> steps;
    int status;
    std::vector<std::string> prompts;
    std::vector<std::string> lines;
    std::string errors;
    std::vector<std::string> entries;
  };
  const auto chooseWork = fileBox(openFile(work.file("comdin.dat")));
  const std::vector<std::string> prompt{" Input Working Directory:"};
  const std::vector<Case> cases{
      {"file box, then the folder typed on the console",
       {work.path()},
       [&](QtDialog& dialog) {
         return std::vector{fileBox(pressEscape), form(dialog, [&dialog] {
                              clickNodeItem(dialog, "2");
                              click(dialog, IDOK);
                            })};
       },
       0,
       prompt,
       {" No. of Selected Nodes = 1", " Creating Files:", " Node 2:", " z: " + folder + "2z.dep",
        " * Working for node 2 ...", " *QTV finished", "", "Press any key"},
       "",
       {"2z.dep", "comdin.dat", "u01.unf", "u2.unf"}},
      {"file box, then the end of the input",
       {},
       [&](QtDialog&) { return std::vector{fileBox(pressEscape)}; },
       1,
       prompt,
       {},
       "standard input: the input ended while the work directory was asked for\n",
       kCaseFiles},
      {"missing files box",
       {},
       [&](QtDialog&) {
         return std::vector{fileBox(openFile(empty.file("comdin.dat"))),
                            messageBox(answer(kMissingFiles, "QTV Message", QMessageBox::Cancel))};
       },
       0,
       {},
       {},
       "",
       kCaseFiles},
      {"no node box",
       {},
       [&](QtDialog& dialog) {
         return std::vector{chooseWork, form(dialog, [&dialog] { click(dialog, IDOK); }),
                            messageBox(answer("No Node has been selected", "QTV: ERROR", QMessageBox::Cancel))};
       },
       0,
       {},
       {},
       "",
       kCaseFiles},
      {"form, Escape",
       {},
       [&](QtDialog& dialog) {
         return std::vector{chooseWork, form(dialog, [&dialog] {
                              clickNodeItem(dialog, "2");
                              typeStartTime(dialog, "0.5");
                              pressEscape(dialog.control(IDC_START_TIME));
                            })};
       },
       0,
       {},
       {},
       "",
       kCaseFiles},
      {"form, Cancel button",
       {},
       [&](QtDialog& dialog) {
         return std::vector{chooseWork, form(dialog, [&dialog] {
                              clickNodeItem(dialog, "2");
                              click(dialog, IDCANCEL);
                            })};
       },
       0,
       {},
       {},
       "",
       kCaseFiles},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QtRun run(c.inputLines);
    ModalScript script(c.steps(run.dialog));
    EXPECT_EQ(run.run(), c.status);
    script.expectAllDone();
    EXPECT_EQ(run.console.prompts, c.prompts);
    EXPECT_EQ(run.console.lines, c.lines);
    EXPECT_EQ(run.console.keyWaits, c.lines.empty() ? 0 : 1);
    EXPECT_EQ(run.errors.str(), c.errors);
    EXPECT_EQ(work.entries(), c.entries);
    EXPECT_TRUE(empty.entries().empty());
    std::filesystem::remove(work.file("2z.dep"));
  }
}

}  // namespace
}  // namespace qtv
