#include "platform/terminal/text_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace qtv {
namespace {

std::vector<std::string> strings(const std::vector<std::string_view>& views) {
  return {views.begin(), views.end()};
}

TEST(TextLines, SplitLinesAtEveryKindOfLineBreak) {
  const struct {
    std::string_view text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {""}},
      {"one", {"one"}},
      {" a\r b\r c", {" a", " b", " c"}},
      {"a\r\nb\nc", {"a", "b", "c"}},
      {"a\n\nb\r", {"a", "", "b", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(strings(splitLines(c.text)), c.lines) << c.text;
}

TEST(TextLines, WrapLineBreaksAtBlanksAndCutsLongWords) {
  const struct {
    std::string_view line;
    int width;
    std::vector<std::string> pieces;
  } cases[] = {
      {"Step Frequency (integer)", 13, {"Step", "Frequency", "(integer)"}},
      {"Step Frequency (integer)", 14, {"Step Frequency", "(integer)"}},
      {"Degree of Freedom", 12, {"Degree of", "Freedom"}},
      {"fits exactly", 12, {"fits exactly"}},
      {"ab   cd", 3, {"ab", "cd"}},
      {"abcdefgh ij", 3, {"abc", "def", "gh", "ij"}},
      {"   ", 5, {}},
      {"text", 0, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(strings(wrapLine(c.line, c.width)), c.pieces) << c.line << " in " << c.width;
}

TEST(TextLines, TextLinesWrapOnlyWhenAsked) {
  EXPECT_EQ(strings(textLines(" Motion\r Time Step DT = 0.01", 8, false)),
            (std::vector<std::string>{" Motion", " Time Step DT = 0.01"}));
  EXPECT_EQ(strings(textLines("Degree of Freedom\r\rX", 12, true)),
            (std::vector<std::string>{"Degree of", "Freedom", "", "X"}));
}

}  // namespace
}  // namespace qtv
