#include "platform/stdio/stdio_console.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace qtv {

void StdioConsole::writeLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), output_);
  std::fputc('\n', output_);
  std::fflush(output_);
}

void StdioConsole::writePrompt(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), output_);
  std::fflush(output_);
}

std::optional<std::string> StdioConsole::readLine() {
  std::string line;
  int c;
  while ((c = std::fgetc(input_)) != EOF && c != '\n') line += static_cast<char>(c);
  if (c == EOF && line.empty()) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

namespace {

// The terminal mode in force before the wait, put back however the wait ends.
termios savedMode;
int savedDescriptor = -1;

void restoreTerminal() {
  if (savedDescriptor >= 0) tcsetattr(savedDescriptor, TCSANOW, &savedMode);
}

extern "C" void restoreAndReraise(int signalNumber) {
  restoreTerminal();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

}  // namespace

void StdioConsole::waitForKey() {
  const int descriptor = fileno(input_);
  if (!isatty(descriptor) || tcgetattr(descriptor, &savedMode) != 0) return;
  savedDescriptor = descriptor;
  const auto oldInterrupt = std::signal(SIGINT, restoreAndReraise);
  const auto oldTerminate = std::signal(SIGTERM, restoreAndReraise);
  const auto oldHangup = std::signal(SIGHUP, restoreAndReraise);

  // Without canonical mode a single key makes the input readable; poll only looks, so the key
  // stays unread.
  termios raw = savedMode;
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  tcsetattr(descriptor, TCSANOW, &raw);
  pollfd waiting{descriptor, POLLIN, 0};
  while (poll(&waiting, 1, -1) < 0) {
  }

  restoreTerminal();
  savedDescriptor = -1;
  std::signal(SIGINT, oldInterrupt);
  std::signal(SIGTERM, oldTerminate);
  std::signal(SIGHUP, oldHangup);
}

}  // namespace qtv
