#include "interactive_platform.h"

#include <cstdio>
#include <iostream>
#include <memory>

#include "driver/run.h"
#include "platform/stdio/console_message_box.h"
#include "platform/stdio/stdio_console.h"
#include "platform/terminal/terminal_dialog.h"
#include "platform/terminal/terminal_message_box.h"
#include "platform/terminal/terminal_screen.h"
#ifdef QTV_WITH_QT
#include "platform/qt/qt_platform.h"
#endif

namespace qtv {

namespace {

// Without a display there is no file-open box: the console asks for the folder instead.
class NoFileOpenBox : public FileOpenBox {
 public:
  std::optional<std::string> choose(const FileOpenRequest&) override { return std::nullopt; }
};

// Without a display or a terminal the dialog cannot be opened; says what runs instead.
class NoDialog : public DialogFacility {
 public:
  bool open(const DialogTemplate&) override {
    std::cerr << "qtv: no display and no terminal to show the dialog on; "
                 "'qtv extract WORKDIR --nodes LIST' runs without a window (see 'qtv extract --help')\n";
    return false;
  }
  void setHandler(int, ControlHandler) override {}
  void setText(int, std::string_view) override {}
  void setChecked(int, bool) override {}
  void setEnabled(int, bool) override {}
  void setItemCount(int, std::int32_t) override {}
  void setItemText(int, std::int32_t, std::string_view) override {}
  int runModal() override { return kDialogFailed; }
  void release() override {}
  std::string getText(int, std::size_t fieldLength) override { return std::string(fieldLength, ' '); }
  bool getChecked(int) override { return false; }
  std::int32_t getSelectedItem(int, std::int32_t) override { return 0; }
  std::string getItemText(int, std::int32_t, std::size_t fieldLength) override {
    return std::string(fieldLength, ' ');
  }
};

}  // namespace

int runInteractiveOnThisMachine(int& argc, char** argv) {
  StdioConsole console(stdin, stdout);
  ConsoleMessageBox consoleMessageBox(console);
#ifdef QTV_WITH_QT
  if (const auto qt = startQtPlatform(argc, argv)) {
    Platform platform{console, qt->fileOpenBox(), qt->messageBox(), qt->dialog()};
    return runInteractive(platform, std::cerr);
  }
#else
  (void)argc;
  (void)argv;
#endif
  NoFileOpenBox noFileOpenBox;
  if (terminalAvailable()) {
    TerminalMessageBox messageBox(consoleMessageBox);
    TerminalDialog dialog;
    Platform platform{console, noFileOpenBox, messageBox, dialog};
    return runInteractive(platform, std::cerr);
  }
  NoDialog dialog;
  Platform platform{console, noFileOpenBox, consoleMessageBox, dialog};
  return runInteractive(platform, std::cerr);
}

}  // namespace qtv
