#include "platform/qt/qt_file_open_box.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace qtv {

namespace {

// A file that need not exist, in a folder that must: a name in a missing folder keeps the box
// open with a warning instead of handing back a path nothing can be read from.
class ExistingFolderFileDialog final : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
      const QString folder = QFileInfo(files.first()).absolutePath();
      if (!QFileInfo(folder).isDir()) {
        QMessageBox::warning(this, windowTitle(),
                             folder + QStringLiteral("\nFolder not found.\nCheck the path and try again."));
        return;
      }
    }
    QFileDialog::accept();
  }
};

QString text(std::string_view value) {
  return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

}  // namespace

std::optional<std::string> QtFileOpenBox::choose(const FileOpenRequest& request) {
  ExistingFolderFileDialog box(nullptr, text(request.title), QFile::decodeName(request.initialFolder.c_str()));
  box.setOption(QFileDialog::DontUseNativeDialog);
  box.setFileMode(QFileDialog::AnyFile);
  box.setAcceptMode(QFileDialog::AcceptOpen);
  // "*.*" means every file on Windows; here it would hide the files without a dot.
  const QString pattern = request.filterPattern == "*.*" ? QStringLiteral("*") : text(request.filterPattern);
  box.setNameFilter(text(request.filterDescription) + QStringLiteral(" (") + pattern + QLatin1Char(')'));
  // A full path also moves the box to that file's folder.
  if (!request.fileName.empty()) box.selectFile(QFile::decodeName(request.fileName.c_str()));
  if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
  return QFile::encodeName(box.selectedFiles().first()).toStdString();
}

}  // namespace qtv
