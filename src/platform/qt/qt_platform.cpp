#include "platform/qt/qt_platform.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cerrno>
#include <cstdlib>

#include "platform/qt/qt_dialog.h"
#include "platform/qt/qt_file_open_box.h"
#include "platform/qt/qt_message_box.h"

namespace qtv {

struct QtPlatformSession::Parts {
  std::unique_ptr<QApplication> application;  // first in, last out: the windows need it
  QtFileOpenBox fileOpenBox;
  QtMessageBox messageBox;
  QtDialog dialog;
};

QtPlatformSession::QtPlatformSession(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}
QtPlatformSession::~QtPlatformSession() = default;
FileOpenBox& QtPlatformSession::fileOpenBox() { return parts_->fileOpenBox; }
MessageBox& QtPlatformSession::messageBox() { return parts_->messageBox; }
DialogFacility& QtPlatformSession::dialog() { return parts_->dialog; }

namespace {

bool environmentSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

void discardMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Qt ends the whole process (qFatal, abort) when its platform plugin cannot start, for example
// when the X server refuses the connection. So a child process starts Qt first, silently and
// without a core dump, and only the child can die of it.
bool qtStartsInChild(int argc, char** argv) {
  const pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    const int devNull = ::open("/dev/null", O_WRONLY);
    if (devNull >= 0) {
      dup2(devNull, STDOUT_FILENO);
      dup2(devNull, STDERR_FILENO);
    }
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    qInstallMessageHandler(discardMessage);
    const QGuiApplication probe(argc, argv);
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::unique_ptr<QtPlatformSession> startQtPlatform(int& argc, char** argv) {
  if (QCoreApplication::instance() != nullptr) return nullptr;
  if (!environmentSet("QT_QPA_PLATFORM") && !environmentSet("DISPLAY") && !environmentSet("WAYLAND_DISPLAY")) {
    return nullptr;
  }
  if (!qtStartsInChild(argc, argv)) return nullptr;

  // Start-up warnings (missing runtime folder, unknown theme) are no business of the console.
  const QtMessageHandler previous = qInstallMessageHandler(discardMessage);
  auto parts = std::make_unique<QtPlatformSession::Parts>();
  parts->application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  return std::unique_ptr<QtPlatformSession>(new QtPlatformSession(std::move(parts)));
}

}  // namespace qtv
