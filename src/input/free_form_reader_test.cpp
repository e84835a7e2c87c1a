#include "input/free_form_reader.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <vector>

#include "platform/program_end.h"
#include "temporary_directory.h"

namespace qtv {
namespace {

using test::fatalMessage;

constexpr std::int32_t kUntouched = -99;

// One group of `count` int fields, each starting as kUntouched.
std::vector<std::int32_t> readInts(FreeFormReader& reader, std::size_t count) {
  std::vector<std::int32_t> values(count, kUntouched);
  reader.beginGroup("group 1");
  for (auto& value : values) reader.readInt(value);
  reader.endGroup();
  return values;
}

std::vector<std::int32_t> readInts(std::string_view text, std::size_t count) {
  FreeFormReader reader(text, "f.dat");
  return readInts(reader, count);
}


struct IntGroupCase {
  std::string_view text;
  std::vector<std::int32_t> expected;
};

TEST(FreeFormReader, SeparatorsRepeatsEmptyValuesAndSlash) {
  const std::vector<IntGroupCase> cases = {
      {"1 2 3 4", {1, 2, 3, 4}},
      {"1,2,3,4", {1, 2, 3, 4}},
      {"  1 ,  2 ,3,   4  ", {1, 2, 3, 4}},
      {"1\n2\n\n3\n4", {1, 2, 3, 4}},
      {"1\t2\r\n3\r\n\t4\r\n", {1, 2, 3, 4}},
      {"+1 -2 007 -0", {1, -2, 7, 0}},
      {"-2147483648 2147483647 0 0", {-2147483648, 2147483647, 0, 0}},
      // a comma right after a line end separates; two commas leave an empty value
      {"1\n,2,3\n,4", {1, 2, 3, 4}},
      {"1,,3,4", {1, kUntouched, 3, 4}},
      {"1 , , 3 4", {1, kUntouched, 3, 4}},
      {"1,\n,3,4", {1, kUntouched, 3, 4}},
      {",2,3,4", {kUntouched, 2, 3, 4}},
      {"1,2,,,", {1, 2, kUntouched, kUntouched}},
      // repeats
      {"4*7", {7, 7, 7, 7}},
      {"2*7 8 9", {7, 7, 8, 9}},
      {"1 2*0,4", {1, 0, 0, 4}},
      {"9*5", {5, 5, 5, 5}},
      {"2* 3 4", {kUntouched, kUntouched, 3, 4}},
      {"1 2*,4", {1, kUntouched, kUntouched, 4}},
      {"1 2*/", {1, kUntouched, kUntouched, kUntouched}},
      // a slash ends the group, the fields not reached keep their values
      {"1 2/", {1, 2, kUntouched, kUntouched}},
      {"1 2 / 3 4", {1, 2, kUntouched, kUntouched}},
      {"/", {kUntouched, kUntouched, kUntouched, kUntouched}},
      {"1,/", {1, kUntouched, kUntouched, kUntouched}},
      // the rest of the last value's line is skipped, whatever it holds
      {"1 2\n3 4 remark 1.5 / ,", {1, 2, 3, 4}},
      {"1 2 3 4,junk", {1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readInts(c.text, 4), c.expected) << c.text;
  }
}

TEST(FreeFormReader, EachGroupStartsOnANewLine) {
  struct Case {
    std::string_view text;
    std::vector<std::int32_t> first, second;
  };
  const std::vector<Case> cases = {
      {"1 2 3\n4 5\n", {1, 2}, {4, 5}},  // the 3 is dropped with its line
      {"1 / 9 9\n2 3", {1, kUntouched}, {2, 3}},
      {"3*5\n6 7", {5, 5}, {6, 7}},  // the third copy does not spill over
      {"1\n\n2\n3 4", {1, 2}, {3, 4}},
  };
  for (const auto& c : cases) {
    FreeFormReader reader(c.text, "f.dat");
    EXPECT_EQ(readInts(reader, 2), c.first) << c.text;
    EXPECT_EQ(readInts(reader, 2), c.second) << c.text;
  }
}

TEST(FreeFormReader, RepeatSpansFieldsOfBothKinds) {
  FreeFormReader reader("2*3 0.5\n", "f.dat");
  std::int32_t node = 0;
  float first = 0, second = 0;
  reader.readGroup("group 3", {&node, &first, &second});
  EXPECT_EQ(node, 3);
  EXPECT_EQ(first, 3.0f);
  EXPECT_EQ(second, 0.5f);
}

TEST(FreeFormReader, IntFieldErrors) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"1.5", "f.dat:1: expected an integer, found '1.5'"},
      {"12.0", "f.dat:1: expected an integer, found '12.0'"},
      {"1e1", "f.dat:1: expected an integer, found '1e1'"},
      {"12abc", "f.dat:1: expected an integer, found '12abc'"},
      {"'7'", "f.dat:1: expected an integer, found ''7''"},
      {"+", "f.dat:1: expected an integer, found '+'"},
      {"+-5", "f.dat:1: expected an integer, found '+-5'"},
      {"1-2", "f.dat:1: expected an integer, found '1-2'"},
      {"1 2\n\n 3 x", "f.dat:3: expected an integer, found 'x'"},
      {"2147483648",
       "f.dat:1: expected an integer from -2147483648 to 2147483647, found '2147483648'"},
      {"-2147483649",
       "f.dat:1: expected an integer from -2147483648 to 2147483647, found '-2147483649'"},
      {"0*7", "f.dat:1: expected a positive repeat count, found '0*7'"},
      {"*7", "f.dat:1: expected a positive repeat count, found '*7'"},
      {"-1*7", "f.dat:1: expected a positive repeat count, found '-1*7'"},
      {"+2*7", "f.dat:1: expected a positive repeat count, found '+2*7'"},
      {"1\n3000000000*7", "f.dat:2: expected a positive repeat count, found '3000000000*7'"},
      // the copies of a repeat are reported on the repeat's line
      {"1\n3*1.5\n", "f.dat:2: expected an integer, found '1.5'"},
      {"2*3*4", "f.dat:1: expected an integer, found '3*4'"},
      {"1 2 3 abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz",
       "f.dat:1: expected an integer, found 'abcdefghijklmnopqrstuvwxyzabcdefghijklmn...'"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(fatalMessage([&] { readInts(text, 4); }), message) << text;
  }
}

TEST(FreeFormReader, TextEndingBeforeTheGroupIsComplete) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"", "f.dat:1: the file ends before group 1 is complete"},
      {"1 2", "f.dat:1: the file ends before group 1 is complete"},
      {"1 2\n", "f.dat:1: the file ends before group 1 is complete"},
      {"1 2\r\n\r\n3\r\n\r\n", "f.dat:4: the file ends before group 1 is complete"},
      {"1 2 3,", "f.dat:1: the file ends before group 1 is complete"},
      {"3*7", "f.dat:1: the file ends before group 1 is complete"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(fatalMessage([&] { readInts(text, 4); }), message) << text;
  }
  // A slash completes a group whatever follows.
  EXPECT_EQ(readInts("1 2/", 4), (std::vector<std::int32_t>{1, 2, kUntouched, kUntouched}));
}

float realOf(std::string_view text) {
  FreeFormReader reader(text, "f.dat");
  float value = -99.0f;
  reader.readGroup("group 4", {&value});
  return value;
}

TEST(FreeFormReader, RealValues) {
  const float aboveOne = std::nextafter(1.0f, 2.0f);
  const std::vector<std::pair<std::string_view, float>> cases = {
      {"1.5", 1.5f},
      {"-2", -2.0f},
      {"+.5", 0.5f},
      {"5.", 5.0f},
      {"-0.25", -0.25f},
      {"1.5E3", 1500.0f},
      {"1.5e3", 1500.0f},
      {"1.5D3", 1500.0f},
      {"1.5d-3", 0.0015f},
      {"2E+2", 200.0f},
      {"1.5+3", 1500.0f},  // a bare signed exponent
      {"1.5-3", 0.0015f},
      {"1+3", 1000.0f},
      {"0.01", 0.01f},
      {"3.4028235e38", std::numeric_limits<float>::max()},
      {"1e00000000000000000000003", 1000.0f},
      {"0.000000000000000000000000000000000000000000000000000001e60", 1e6f},
      // the nearest float of the exact decimal value, ties to even
      {"1.00000005960464477550", aboveOne},                            // just above halfway
      {"1.000000059604644775390625", 1.0f},                            // halfway, to the even 1
      {"1.000000178813934326171875", std::nextafter(aboveOne, 2.0f)},  // halfway, to even
      // tiny values become subnormals or zero, not errors
      {"1e-40", std::bit_cast<float>(0x000116c2u)},
      {"1.4e-45", std::numeric_limits<float>::denorm_min()},
      {"1e-50", 0.0f},
      {"1e-99999999999999999999", 0.0f},
      {"0e99999", 0.0f},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(realOf(text)), std::bit_cast<std::uint32_t>(expected))
        << text;
  }
  EXPECT_TRUE(std::signbit(realOf("-1e-50")));
}

TEST(FreeFormReader, RealRoundsTheDecimalDirectlyNotThroughDouble) {
  // The double nearest to this text rounds to the next float up; the text itself is the
  // shortest text of the float below.
  EXPECT_EQ(std::bit_cast<std::uint32_t>(realOf("7.038531e-26")), 0x15ae43fdu);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(static_cast<float>(7.038531e-26)), 0x15ae43feu);
}

TEST(FreeFormReader, RealFieldErrors) {
  const std::vector<std::pair<std::string_view, std::string_view>> cases = {
      {"abc", "f.dat:1: expected a real number, found 'abc'"},
      {".", "f.dat:1: expected a real number, found '.'"},
      {"-", "f.dat:1: expected a real number, found '-'"},
      {"e5", "f.dat:1: expected a real number, found 'e5'"},
      {"1.5.2", "f.dat:1: expected a real number, found '1.5.2'"},
      {"1.5e", "f.dat:1: expected a real number, found '1.5e'"},
      {"1.5e+", "f.dat:1: expected a real number, found '1.5e+'"},
      {"1.5++3", "f.dat:1: expected a real number, found '1.5++3'"},
      {"1.5x", "f.dat:1: expected a real number, found '1.5x'"},
      {"1.5e3.0", "f.dat:1: expected a real number, found '1.5e3.0'"},
      {"nan", "f.dat:1: expected a real number, found 'nan'"},
      {"inf", "f.dat:1: expected a real number, found 'inf'"},
      {"0x1p3", "f.dat:1: expected a real number, found '0x1p3'"},
      {"1e39", "f.dat:1: expected a real number within the single-precision range, found '1e39'"},
      {"-1e39", "f.dat:1: expected a real number within the single-precision range, found '-1e39'"},
      {"3.40282357e38",
       "f.dat:1: expected a real number within the single-precision range, found '3.40282357e38'"},
      {"0.0000001e46",
       "f.dat:1: expected a real number within the single-precision range, found '0.0000001e46'"},
      {"\n\n1d99999999999999",
       "f.dat:3: expected a real number within the single-precision range, found "
       "'1d99999999999999'"},
  };
  for (const auto& [text, message] : cases) {
    EXPECT_EQ(fatalMessage([&] { realOf(text); }), message) << text;
  }
}

TEST(FreeFormReader, TextLines) {
  struct Case {
    std::string_view text;
    std::size_t length;
    std::string_view first, second;
  };
  const std::vector<Case> cases = {
      {"abc\nde\n", 5, "abc  ", "de   "},
      {"  ab\r\nx\r\n", 5, "  ab ", "x    "},  // leading blanks kept, CR dropped
      {"\n\n", 3, "   ", "   "},
      {"abcdefgh\nijklmnop", 5, "abcde", "ijklm"},
      {"\r\nab\r", 3, "   ", "ab "},
      {"a\tb\nc", 4, "a\tb ", "c   "},
  };
  for (const auto& c : cases) {
    FreeFormReader reader(c.text, "f.dat");
    EXPECT_EQ(reader.readTextLine(c.length, "group 11"), c.first) << c.text;
    EXPECT_EQ(reader.readTextLine(c.length, "group 11"), c.second) << c.text;
  }
}

TEST(FreeFormReader, TextLineAfterAGroupIsTheNextLine) {
  FreeFormReader reader("1 2 rest\n  text\n", "f.dat");
  EXPECT_EQ(readInts(reader, 2), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(reader.readTextLine(6, "group 11"), "  text");
  EXPECT_EQ(fatalMessage([&] { reader.readTextLine(6, "group 12"); }),
            "f.dat:2: the file ends before group 12 is complete");
  EXPECT_EQ(fatalMessage([] { FreeFormReader("", "f.dat").readTextLine(6, "group 13"); }),
            "f.dat:1: the file ends before group 13 is complete");
}

TEST(FreeFormReader, FailNamesTheLineOfTheLastValue) {
  FreeFormReader reader("1\n\n 2*7 rest\n8", "f.dat");
  std::int32_t a = 0, b = 0, c = 0;
  reader.beginGroup("group 2");
  reader.readInt(a);
  reader.readInt(b);
  reader.readInt(c);
  EXPECT_EQ(fatalMessage([&] { reader.fail("node 7 is wrong"); }), "f.dat:3: node 7 is wrong");
}

}  // namespace
}  // namespace qtv
