#include "platform/terminal/terminal_message_box.h"

#include <curses.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/terminal/terminal_screen.h"
#include "platform/terminal/text_lines.h"

namespace qtv {

namespace {

constexpr std::string_view kRetry = "[ Retry ]";
constexpr std::string_view kCancel = "[ Cancel ]";
constexpr int kButtonGap = 2;

struct BoxLayout {
  CellRect frame;
  std::vector<std::string_view> lines;
  CellRect retry, cancel;
};

// Centred on the screen: a frame with the caption, a blank row, the text, a blank row, the
// buttons. Lines too long for the screen are broken at blanks; rows that do not fit are cut.
BoxLayout layoutBox(std::string_view text, std::string_view caption) {
  const int widest = std::max(1, COLS - 6);
  BoxLayout box;
  for (const auto line : splitLines(text)) {
    if (static_cast<int>(line.size()) <= widest) {
      box.lines.push_back(line);
    } else {
      const auto pieces = wrapLine(line, widest);
      box.lines.insert(box.lines.end(), pieces.begin(), pieces.end());
    }
  }
  box.lines.resize(static_cast<std::size_t>(std::clamp(LINES - 5, 0, static_cast<int>(box.lines.size()))));
  const int buttons = static_cast<int>(kRetry.size() + kCancel.size()) + kButtonGap;
  int inner = std::max(buttons, static_cast<int>(caption.size()) + 2);
  for (const auto line : box.lines) inner = std::max(inner, static_cast<int>(line.size()));
  inner = std::min(inner, widest);
  const int height = static_cast<int>(box.lines.size()) + 5;
  const int width = inner + 4;
  box.frame = {std::max(0, (LINES - height) / 2), std::max(0, (COLS - width) / 2), height, width};
  const int buttonRow = box.frame.row + height - 2;
  const int buttonColumn = box.frame.column + (width - buttons) / 2;
  box.retry = {buttonRow, buttonColumn, 1, static_cast<int>(kRetry.size())};
  box.cancel = {buttonRow, buttonColumn + box.retry.width + kButtonGap, 1, static_cast<int>(kCancel.size())};
  return box;
}

void drawBox(const BoxLayout& box, std::string_view caption, bool retryFocused) {
  const std::string blank(static_cast<std::size_t>(box.frame.width), ' ');
  for (int row = 0; row < box.frame.height; ++row)
    drawText(box.frame.row + row, box.frame.column, blank, box.frame.width);
  drawFrame(box.frame, caption);
  for (std::size_t i = 0; i < box.lines.size(); ++i)
    drawText(box.frame.row + 2 + static_cast<int>(i), box.frame.column + 2, box.lines[i],
             box.frame.width - 4);
  attrset(retryFocused ? A_REVERSE : A_NORMAL);
  drawText(box.retry.row, box.retry.column, kRetry, box.retry.width);
  attrset(retryFocused ? A_NORMAL : A_REVERSE);
  drawText(box.cancel.row, box.cancel.column, kCancel, box.cancel.width);
  attrset(A_NORMAL);
  curs_set(0);
  refresh();
}

}  // namespace

MessageBoxAnswer TerminalMessageBox::show(std::string_view text, std::string_view caption) {
  const TerminalScreen screen;
  if (!screen.ready()) return fallback_.show(text, caption);
  // Over an open form the box leaves the form in sight; the form redraws itself afterwards.
  bool clearScreen = !screen.nested();
  bool retryFocused = true;  // Retry is the default button
  for (;;) {
    if (clearScreen) erase();
    clearScreen = false;
    const BoxLayout box = layoutBox(text, caption);
    drawBox(box, caption, retryFocused);
    const int key = getch();
    switch (key) {
      case ERR:
        if (errno == EINTR) break;
        return MessageBoxAnswer::Cancel;  // the terminal is gone
      case KEY_RESIZE: clearScreen = true; break;
      case KEY_LEFT:
      case KEY_RIGHT:
      case KEY_BTAB:
      case '\t': retryFocused = !retryFocused; break;
      case '\r':
      case '\n':
      case KEY_ENTER: return retryFocused ? MessageBoxAnswer::Retry : MessageBoxAnswer::Cancel;
      case 'r':
      case 'R': return MessageBoxAnswer::Retry;
      case 27:
      case 'c':
      case 'C': return MessageBoxAnswer::Cancel;
      case KEY_MOUSE: {
        MEVENT event;
        if (getmouse(&event) != OK || (event.bstate & BUTTON1_PRESSED) == 0) break;
        if (box.retry.contains(event.y, event.x)) return MessageBoxAnswer::Retry;
        if (box.cancel.contains(event.y, event.x)) return MessageBoxAnswer::Cancel;
        break;
      }
      default: break;
    }
  }
}

}  // namespace qtv
