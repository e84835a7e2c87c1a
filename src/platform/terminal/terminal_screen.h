#pragma once
// The process's terminal as a curses screen, and the few drawing steps the form and the
// message box share.
#include <string_view>

#include "platform/terminal/form_layout.h"

namespace qtv {

// True when standard input and standard output are both terminals of a known kind, so a
// full-screen form can be shown.
bool terminalAvailable();

// Curses on standard input and output for as long as the object lives; the terminal is
// restored when it goes, also when an exception passes, and before SIGINT, SIGTERM or SIGHUP
// end the process. Nested screens share the outer one.
class TerminalScreen {
 public:
  TerminalScreen();
  ~TerminalScreen();
  TerminalScreen(const TerminalScreen&) = delete;
  TerminalScreen& operator=(const TerminalScreen&) = delete;

  // False without a terminal (see terminalAvailable) or when it could not be set up; nothing
  // may be drawn then.
  bool ready() const { return ready_; }
  // True inside another screen's lifetime: the form it shows stays beneath.
  bool nested() const { return nested_; }

 private:
  bool ready_ = false;
  bool nested_ = false;
};

// Drawing in screen cells with the current attributes; texts are cut to the width, and a
// character that is not printable ASCII shows as '?'.
void drawText(int row, int column, std::string_view text, int width);
// A line frame around the rectangle with the caption in its top line.
void drawFrame(const CellRect& rect, std::string_view caption);
// The caption centred between brackets across the rectangle's first row.
void drawButton(const CellRect& rect, std::string_view caption);

}  // namespace qtv
