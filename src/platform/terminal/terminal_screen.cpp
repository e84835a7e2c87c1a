#include "platform/terminal/terminal_screen.h"

#include <curses.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace qtv {

bool terminalAvailable() {
  const char* terminalType = std::getenv("TERM");
  return isatty(STDIN_FILENO) && isatty(STDOUT_FILENO) && terminalType != nullptr && *terminalType != '\0' &&
         std::string_view(terminalType) != "dumb";
}

namespace {

// The one curses screen of the process and how many TerminalScreen objects share it.
SCREEN* screen = nullptr;
int depth = 0;

constexpr std::array<int, 3> kEndingSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, 3> previousActions;

void endCursesAndReraise(int signalNumber) {
  if (screen != nullptr) endwin();
  std::signal(signalNumber, SIG_DFL);
  std::raise(signalNumber);
}

// Installed before curses starts, so curses keeps its hands off these signals.
void installSignalHandlers() {
  struct sigaction action {};
  action.sa_handler = endCursesAndReraise;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
    sigaction(kEndingSignals[i], &action, &previousActions[i]);
}

void restoreSignalHandlers() {
  for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
    sigaction(kEndingSignals[i], &previousActions[i], nullptr);
}

}  // namespace

TerminalScreen::TerminalScreen() {
  if (depth > 0) {
    ++depth;
    ready_ = nested_ = true;
    return;
  }
  if (!terminalAvailable()) return;
  installSignalHandlers();
  SCREEN* created = newterm(nullptr, stdout, stdin);
  if (created == nullptr) {
    restoreSignalHandlers();
    return;
  }
  screen = created;
  depth = 1;
  ready_ = true;
  // Escape alone is Cancel: do not wait long for the rest of an escape sequence.
  set_escdelay(25);
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  mouseinterval(0);
  mousemask(BUTTON1_PRESSED | BUTTON4_PRESSED | BUTTON5_PRESSED, nullptr);
}

TerminalScreen::~TerminalScreen() {
  if (!ready_ || --depth > 0) return;
  endwin();
  SCREEN* ended = screen;
  screen = nullptr;
  delscreen(ended);
  restoreSignalHandlers();
}

void drawText(int row, int column, std::string_view text, int width) {
  if (width <= 0) return;
  move(row, column);
  for (const char c : text.substr(0, static_cast<std::size_t>(width)))
    addch(c >= ' ' && c <= '~' ? static_cast<chtype>(c) : static_cast<chtype>('?'));
}

void drawFrame(const CellRect& rect, std::string_view caption) {
  if (rect.height < 2 || rect.width < 2) return;
  const int bottom = rect.row + rect.height - 1;
  const int right = rect.column + rect.width - 1;
  mvhline(rect.row, rect.column + 1, ACS_HLINE, rect.width - 2);
  mvhline(bottom, rect.column + 1, ACS_HLINE, rect.width - 2);
  mvvline(rect.row + 1, rect.column, ACS_VLINE, rect.height - 2);
  mvvline(rect.row + 1, right, ACS_VLINE, rect.height - 2);
  mvaddch(rect.row, rect.column, ACS_ULCORNER);
  mvaddch(rect.row, right, ACS_URCORNER);
  mvaddch(bottom, rect.column, ACS_LLCORNER);
  mvaddch(bottom, right, ACS_LRCORNER);
  if (!caption.empty()) drawText(rect.row, rect.column + 1, " " + std::string(caption) + " ", rect.width - 2);
}

void drawButton(const CellRect& rect, std::string_view caption) {
  if (rect.width < 2) return;
  const int inner = rect.width - 2;
  const auto shown = caption.substr(0, static_cast<std::size_t>(inner));
  std::string face(static_cast<std::size_t>(inner), ' ');
  face.replace((face.size() - shown.size()) / 2, shown.size(), shown);
  drawText(rect.row, rect.column, "[" + face + "]", rect.width);
}

}  // namespace qtv
