#include "platform/terminal/text_lines.h"

#include <algorithm>

#include "platform/fixed_text.h"

namespace qtv {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (;;) {
    const auto end = text.find_first_of("\r\n");
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    text.remove_prefix(end + (crLf ? 2 : 1));
  }
}

std::vector<std::string_view> wrapLine(std::string_view line, int width) {
  std::vector<std::string_view> pieces;
  if (width <= 0) return pieces;
  const auto limit = static_cast<std::size_t>(width);
  for (;;) {
    const auto start = line.find_first_not_of(' ');
    if (start == std::string_view::npos) return pieces;
    line.remove_prefix(start);
    if (line.size() <= limit) {
      pieces.push_back(line);
      return pieces;
    }
    // Break at the last blank that keeps the piece within the width; a word too long for a
    // whole line is cut where the line ends.
    const auto blank = line.substr(0, limit + 1).find_last_of(' ');
    const auto length = blank == std::string_view::npos ? limit : blank;
    pieces.push_back(withoutTrailingBlanks(line.substr(0, std::min(length, limit))));
    line.remove_prefix(length);
  }
}

std::vector<std::string_view> textLines(std::string_view text, int width, bool wraps) {
  auto lines = splitLines(text);
  if (!wraps) return lines;
  std::vector<std::string_view> wrapped;
  for (const auto line : lines) {
    const auto pieces = wrapLine(line, width);
    if (pieces.empty()) wrapped.emplace_back();
    wrapped.insert(wrapped.end(), pieces.begin(), pieces.end());
  }
  return wrapped;
}

}  // namespace qtv
