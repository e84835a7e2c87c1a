#include "comdin_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <vector>

namespace qtv {
namespace {

TEST(RealTextTest, ShortestTextWithADecimalPointThatReadsBack) {
  struct Case {
    float value;
    const char* text;
  };
  for (const Case& c :
       {Case{0.01f, "0.01"}, Case{10.0f, "10.0"}, Case{0.0f, "0.0"}, Case{1e-5f, "1.0e-05"},
        Case{2.5e-7f, "2.5e-07"}, Case{1e20f, "1.0e+20"}, Case{0.33333334f, "0.33333334"}}) {
    const std::string text = realText(c.value);
    EXPECT_EQ(text, c.text);
    float back = -1;
    std::from_chars(text.data(), text.data() + text.size(), back);
    EXPECT_EQ(back, c.value) << text;
  }
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

TEST(ComdinTextTest, WritesTheThirteenGroupsWithCrLfLineEnds) {
  CasePlan plan;
  plan.nodeCount = 5;
  plan.dofPerNode = 2;
  plan.DT = 0.02f;
  plan.TT = 0.5f;
  plan.stepCount = 26;
  plan.romanian = true;
  plan.columns = {{1, 2}, {4, 1}};
  const std::string text = comdinText(plan);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_EQ(text[i - 1], '\r') << "bare line feed at " << i;
    }
  }

  const std::vector<std::string> lines = linesOf(text);
  // group 1, 2 restraint lines, 3 value lines, groups 4 to 6, 3 lines of group 7, 1 of
  // group 8, 15 of group 9, 1 of group 10, 3 + 3 + 1 text lines
  ASSERT_EQ(lines.size(), 1u + 2 + 3 + 3 + 3 + 1 + 15 + 1 + 7);
  EXPECT_EQ(lines[0], "     5     2     3     2     2     1     0     0");
  EXPECT_EQ(lines[1], "     1     1     1");
  EXPECT_EQ(lines[2], "     4     1     1");
  EXPECT_EQ(lines[3], "     2       200.0       200.0");
  EXPECT_EQ(lines[4], "     3       200.0       200.0");
  EXPECT_EQ(lines[5], "     5       200.0       200.0");
  EXPECT_EQ(lines[6], "     1        0.02         0.5     1        0.25     0         0.5");
  EXPECT_EQ(lines[7], "     1        0.05        0.05        26");
  EXPECT_EQ(lines[12], "75*0.0");
  EXPECT_EQ(lines[13], "     0.1     0.2     0.3     0.4     0.5");
  EXPECT_EQ(lines[18], "     1.0,     0.5, 0.33333334,    0.25,     0.2");
  EXPECT_EQ(lines.back(), "ROMANA");
  plan.romanian = false;
  EXPECT_EQ(linesOf(comdinText(plan)).back(), "ENGLISH");
}

}  // namespace
}  // namespace qtv
