#pragma once
// Breaking texts into the lines a terminal form shows.
#include <string_view>
#include <vector>

namespace qtv {

// The lines of text, broken at CR LF, CR or LF; an empty text is one empty line.
std::vector<std::string_view> splitLines(std::string_view text);

// One line broken at blanks into pieces of at most `width` characters, without the blanks at
// the breaks; a word longer than `width` is cut. A blank line gives no pieces.
std::vector<std::string_view> wrapLine(std::string_view line, int width);

// The lines a static text shows in `width` columns: its own lines, each broken at blanks when
// the text wraps, otherwise whole (the caller cuts them).
std::vector<std::string_view> textLines(std::string_view text, int width, bool wraps);

}  // namespace qtv
