#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "gui_test_support.h"
#include "platform/qt/qt_file_open_box.h"
#include "platform/qt/qt_message_box.h"

namespace qtv {
namespace {

using test::whenModalShown;

TEST(QtMessageBoxTest, ShowsAStopBoxWithRetryAndCancel) {
  struct Case {
    const char* name;
    std::function<void(QMessageBox*)> act;
    MessageBoxAnswer expected;
  };
  const std::vector<Case> cases{
      {"Retry", [](QMessageBox* box) { box->button(QMessageBox::Retry)->click(); }, MessageBoxAnswer::Retry},
      {"Cancel", [](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); }, MessageBoxAnswer::Cancel},
      {"Enter", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, MessageBoxAnswer::Retry},
      {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, MessageBoxAnswer::Cancel},
      {"close box", [](QMessageBox* box) { box->close(); }, MessageBoxAnswer::Cancel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    whenModalShown([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      icon = box->icon();
      buttons = box->standardButtons();
      c.act(box);
    });
    QtMessageBox messageBox;
    EXPECT_EQ(messageBox.show(" Not all the needed files exist in this directory.\n Retry for another Browse.",
                              "QTV Message"),
              c.expected);
    EXPECT_EQ(caption, "QTV Message");
    EXPECT_EQ(text, " Not all the needed files exist in this directory.\n Retry for another Browse.");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, QMessageBox::Retry | QMessageBox::Cancel);
  }
}

class QtFileOpenBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("models"));
    QFile file(folder.filePath("models/comdin.dat"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  std::string path(const char* name) const { return QFile::encodeName(folder.filePath(name)).toStdString(); }

  FileOpenRequest request(std::string fileName) const {
    return {"Select Any File in the Work Directory", "All files", "*", path("models"), std::move(fileName)};
  }

  // Types `name` into the name field and confirms it as the Open button does.
  static void typeAndOpen(QFileDialog* box, const QString& name) {
    auto* field = box->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(name);
    QMetaObject::invokeMethod(box, "accept");
  }

  QTemporaryDir folder;
  QtFileOpenBox fileOpenBox;
};

TEST_F(QtFileOpenBoxTest, OffersTheRequestedSettings) {
  struct Case {
    const char* name;
    FileOpenRequest request;
    QString folder;
    QString nameField;
  };
  FileOpenRequest dotted = request("");
  dotted.filterPattern = "*.*";  // would hide every file without a dot here
  const std::vector<Case> cases{
      {"first selection", request(""), folder.filePath("models"), ""},
      {"previous file name", request("u01.unf"), folder.filePath("models"), "u01.unf"},
      {"previous full path", request(path("models/comdin.dat")), folder.filePath("models"), "comdin.dat"},
      {"previous file elsewhere", request(path("other.txt")), folder.path(), "other.txt"},
      {"Windows pattern", dotted, folder.filePath("models"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFileDialog* seen = nullptr;
    QString title, directory, nameField;
    QStringList filters;
    QFileDialog::FileMode mode = QFileDialog::Directory;
    whenModalShown([&](QWidget* modal) {
      seen = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(seen, nullptr);
      title = seen->windowTitle();
      directory = seen->directory().absolutePath();
      filters = seen->nameFilters();
      mode = seen->fileMode();
      nameField = seen->findChild<QLineEdit*>("fileNameEdit")->text();
      seen->reject();
    });
    EXPECT_EQ(fileOpenBox.choose(c.request), std::nullopt);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(title, "Select Any File in the Work Directory");
    EXPECT_EQ(directory, c.folder);
    EXPECT_EQ(filters, QStringList{"All files (*)"});
    EXPECT_EQ(mode, QFileDialog::AnyFile);
    EXPECT_EQ(nameField, c.nameField);
  }
}

TEST_F(QtFileOpenBoxTest, GivesTheFullPathOfAnExistingOrNewFile) {
  for (const char* name : {"comdin.dat", "notes without dot", "new.txt"}) {
    SCOPED_TRACE(name);
    whenModalShown([&](QWidget* modal) { typeAndOpen(qobject_cast<QFileDialog*>(modal), name); });
    EXPECT_EQ(fileOpenBox.choose(request("")), path("models/") + name);
  }
}

TEST_F(QtFileOpenBoxTest, AFileInAMissingFolderKeepsTheBoxOpen) {
  bool stayedOpen = false;
  QString warning;
  whenModalShown([&](QWidget* modal) {
    auto* box = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(box, nullptr);
    // The warning runs its own modal loop inside the confirmation; it is closed once it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        warning = message->text();
        message->close();
        closer.stop();
      }
    });
    closer.start(10);
    typeAndOpen(box, "no such folder/comdin.dat");
    stayedOpen = box->isVisible() && box->result() != QDialog::Accepted;
    typeAndOpen(box, "comdin.dat");
  });
  EXPECT_EQ(fileOpenBox.choose(request("")), path("models/comdin.dat"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(warning.contains("no such folder")) << warning.toStdString();
}

}  // namespace
}  // namespace qtv
