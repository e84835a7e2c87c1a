// Starting Qt, or finding out quietly that it cannot start. No application object exists
// between the tests of this program.
#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "dialog/dialog_template.h"
#include "platform/qt/qt_dialog.h"

namespace qtv {
namespace {

// Sets (or with nullopt unsets) the window-system variables for one test, and restores them.
class WindowEnvironment {
 public:
  WindowEnvironment(std::optional<std::string> platform, std::optional<std::string> display) {
    set("QT_QPA_PLATFORM", platform);
    set("DISPLAY", display);
    set("WAYLAND_DISPLAY", std::nullopt);
  }
  ~WindowEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }

 private:
  void set(const char* name, const std::optional<std::string>& value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old == nullptr ? std::nullopt : std::optional<std::string>(old));
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

int argc = 1;
char programName[] = "qtv";
char* argv[] = {programName, nullptr};

TEST(StartQtPlatformTest, NoSessionWithoutAUsableDisplay) {
  struct Case {
    const char* name;
    std::optional<std::string> platform;
    std::optional<std::string> display;
  };
  const Case cases[] = {
      {"no display at all", std::nullopt, std::nullopt},
      {"empty display", std::nullopt, ""},
      {"X display that does not exist", "xcb", ":97"},
      {"platform Qt does not know", "no-such-platform", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowEnvironment environment(c.platform, c.display);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    // Qt aborts the process when it cannot start; reaching the checks shows that it did not.
    EXPECT_EQ(startQtPlatform(argc, argv), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  }
}

TEST(StartQtPlatformTest, ADialogCannotOpenWithoutQt) {
  QtDialog dialog;
  EXPECT_FALSE(dialog.open(runParametersTemplate()));
  EXPECT_EQ(dialog.runModal(), kDialogFailed);
}

TEST(StartQtPlatformTest, StartsOnANamedPlatformAndOffersTheBackends) {
  const WindowEnvironment environment("offscreen", std::nullopt);
  testing::internal::CaptureStderr();
  std::unique_ptr<QtPlatformSession> session = startQtPlatform(argc, argv);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(startQtPlatform(argc, argv), nullptr);  // one application per process
  DialogFacility& dialog = session->dialog();
  ASSERT_TRUE(dialog.open(runParametersTemplate()));
  dialog.setText(IDC_START_TIME, "1.5");
  EXPECT_EQ(dialog.getText(IDC_START_TIME, 4), "1.5 ");
  dialog.release();
}

}  // namespace
}  // namespace qtv
