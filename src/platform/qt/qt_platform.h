#pragma once
// Starting the window system: the Qt application and the three window backends. This header
// holds no Qt type, so the program can use it without depending on Qt's headers.
#include <memory>

#include "platform/platform.h"

namespace qtv {

class QtPlatformSession {
 public:
  ~QtPlatformSession();
  QtPlatformSession(const QtPlatformSession&) = delete;
  QtPlatformSession& operator=(const QtPlatformSession&) = delete;

  FileOpenBox& fileOpenBox();
  MessageBox& messageBox();
  DialogFacility& dialog();

 private:
  struct Parts;
  explicit QtPlatformSession(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;

  friend std::unique_ptr<QtPlatformSession> startQtPlatform(int& argc, char** argv);
};

// Starts Qt for this process (argc and argv as given to main; Qt removes its own options).
// nullptr when there is no display to show windows on (neither DISPLAY nor WAYLAND_DISPLAY
// set, unless QT_QPA_PLATFORM names a platform), when Qt cannot start on it, or when an
// application object already exists. Never aborts the process and writes nothing to the
// console. The session must outlive every use of its backends.
std::unique_ptr<QtPlatformSession> startQtPlatform(int& argc, char** argv);

}  // namespace qtv
