#include "platform/stdio/console_message_box.h"

namespace qtv {

MessageBoxAnswer ConsoleMessageBox::show(std::string_view text, std::string_view caption) {
  console_.writeLine(std::string("[") + std::string(caption) + "]");
  std::string_view rest = text;
  for (auto end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
    console_.writeLine(rest.substr(0, end));
    rest.remove_prefix(end + 1);
  }
  console_.writeLine(rest);
  for (;;) {
    console_.writePrompt("Retry or Cancel? [r/c]: ");
    const auto answer = console_.readLine();
    if (!answer) {
      console_.writeLine("");
      return MessageBoxAnswer::Cancel;
    }
    const auto first = answer->find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    const char choice = (*answer)[first];
    if (choice == 'r' || choice == 'R') return MessageBoxAnswer::Retry;
    if (choice == 'c' || choice == 'C') return MessageBoxAnswer::Cancel;
  }
}

}  // namespace qtv
