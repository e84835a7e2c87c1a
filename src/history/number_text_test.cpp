#include "history/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/fixed_text.h"

namespace qtv {
namespace {

float fromBits(std::uint32_t bits) { return std::bit_cast<float>(bits); }

std::string historyField(float value) {
  std::string field(kHistoryFieldWidth, '#');
  formatHistoryField(value, field.data());
  return field;
}

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kMax = std::numeric_limits<float>::max();
constexpr float kMinNormal = std::numeric_limits<float>::min();

TEST(DigitCount, CountsDigitsAndSign) {
  const struct {
    std::int32_t n;
    std::int32_t count;
  } cases[] = {{0, 1},         {7, 1},           {12, 2},          {1000, 4},
               {9999, 4},      {-5, 2},          {-120, 4},        {-1, 2},
               {10, 2},        {99999, 5},       {2147483647, 10}, {-2147483647, 11},
               {-2147483647 - 1, 11}};
  for (const auto& c : cases) EXPECT_EQ(digitCount(c.n), c.count) << c.n;
}

TEST(IntegerText, HasExactlyDigitCountCharacters) {
  const struct {
    std::int32_t n;
    const char* text;
  } cases[] = {{0, "0"}, {7, "7"}, {-120, "-120"}, {1034, "1034"},
               {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
  for (const auto& c : cases) {
    EXPECT_EQ(integerText(c.n), c.text);
    EXPECT_EQ(integerText(c.n).size(), static_cast<std::size_t>(digitCount(c.n)));
  }
}

TEST(TrimRealText, ShortensInPlaceAndKeepsTheLength) {
  const struct {
    const char* before;
    const char* after;
  } cases[] = {
      {"      0.01000", "0.01"},
      {"   1.500000", "1.5"},
      {"  12.00000", "12."},
      {"  10.00000", "10."},
      {"  5.00000E-04", "5.E-04"},
      {"  1.25000E-04", "1.25E-04"},
      {" 0.1000000E+09", "0.1E+09"},
      {"1.5D+03", "1.5D+03"},
      {"  250", "250"},
      {"1E+02", "1E+02"},
      {"0.00000", "0."},
      {"12.", "12."},
      {"100.0", "100."},
      {"1.50000e+02", "1.5e+02"},
      {"1.50000d+02", "1.5d+02"},
      {"  -2.50000D-01", "-2.5D-01"},
      {"", ""},
      {"     ", ""},
      {"*************", "*************"},
      // The mantissa field holds 19 characters and the exponent field 5; the rest is cut.
      {"123456789012345678.50", "123456789012345678."},
      {"1.50E+0012", "1.5E+001"},
  };
  for (const auto& c : cases) {
    for (const std::size_t length : {std::string(c.before).size(), std::size_t{24}}) {
      std::string text = fixedField(c.before, length);
      trimRealText(text);
      EXPECT_EQ(text, fixedField(c.after, length)) << '"' << c.before << "\" in " << length;
    }
  }
}

TEST(FormatHistoryField, WritesFixedAndExponentForms) {
  const struct {
    float value;
    const char* field;
  } cases[] = {
      {0.0f, "  0.0000000E+00"},
      {1.0f, "   1.000000    "},
      {0.2f, "  0.2000000    "},
      {-0.5f, " -0.5000000    "},
      {12.5f, "   12.50000    "},
      {123.456f, "   123.4560    "},
      {1234567.0f, "   1234567.    "},
      {12345678.0f, "  1.2345678E+07"},
      {0.001f, "  1.0000000E-03"},
      {-0.0015f, " -1.5000000E-03"},
      {0.05f, "  5.0000001E-02"},
      {2 * 0.02f, "  3.9999999E-02"},
      {1.5f, "   1.500000    "},
      {0.1f, "  0.1000000    "},
      {fromBits(0x3dcccccc), "  9.9999994E-02"},  // the float just below 0.1
      {9999999.0f, "   9999999.    "},
      {1e7f, "  1.0000000E+07"},
      {-9999999.0f, "  -9999999.    "},
      {9.99999975e-6f, "  9.9999997E-06"},
      {fromBits(0x3f7fffff), "  0.9999999    "},  // the float just below 1
      {-0.1f, " -0.1000000    "},
      {kMax, "  3.4028235E+38"},
      {-kMax, " -3.4028235E+38"},
      {kMinNormal, "  1.1754944E-38"},
      {1e-10f, "  1.0000000E-10"},
      {1e10f, "  1.0000000E+10"},
      // Ties of the exact binary value round to the even digit.
      {1234567.5f, "   1234568.    "},
      {1234568.5f, "   1234568.    "},
      {-1234567.5f, "  -1234568.    "},
      {4194304.5f, "   4194304.    "},
      {0.5f / 2048, "  2.4414062E-04"},  // 0.000244140625
      {1.5f / 2048, "  7.3242188E-04"},  // 0.000732421875
      {11.0f / 1024, "  1.0742188E-02"},  // 0.0107421875
  };
  for (const auto& c : cases) EXPECT_EQ(historyField(c.value), c.field) << c.value;
}

TEST(FormatHistoryField, TimesOfAStepSeriesBelowPointOneTakeTheExponentForm) {
  const char* expected[] = {"  0.0000000E+00", "  2.0000000E-02", "  3.9999999E-02",
                            "  5.9999999E-02", "  7.9999998E-02", "  9.9999994E-02",
                            "  0.1200000    "};
  const float DT = 0.02f;
  for (int step = 0; step < 7; ++step) {
    EXPECT_EQ(historyField(static_cast<float>(step) * DT), expected[step]) << step;
  }
}

TEST(FormatHistoryField, ZeroSubnormalsAndNonFiniteValues) {
  const struct {
    std::uint32_t bits;
    const char* field;
  } cases[] = {
      {0x00000000, "  0.0000000E+00"},  // zero
      {0x80000000, "  0.0000000E+00"},  // negative zero
      {0x00000001, "  0.0000000E+00"},  // smallest subnormal
      {0x007fffff, "  0.0000000E+00"},  // largest subnormal
      {0x807fffff, "  0.0000000E+00"},  // negative subnormal
      {0x00800000, "  1.1754944E-38"},  // smallest normal
      {0x7f800000, "       Infinity"},
      {0xff800000, "      -Infinity"},
      {0x7fc00000, "            NaN"},
      {0xffc00001, "            NaN"},
  };
  for (const auto& c : cases) EXPECT_EQ(historyField(fromBits(c.bits)), c.field) << c.bits;
}

TEST(ScientificText, NumberTextsAAndB) {
  const struct {
    float value;
    int width;
    int decimals;
    const char* text;
  } cases[] = {
      {12.5f, 10, 3, " 1.250E+01"},
      {10.0f, 16, 6, "    1.000000E+01"},
      {10.0f, 10, 3, " 1.000E+01"},
      {0.0f, 10, 3, " 0.000E+00"},
      {-0.0f, 10, 3, " 0.000E+00"},
      {0.0f, 16, 6, "    0.000000E+00"},
      {-12.5f, 10, 3, "-1.250E+01"},
      {0.001f, 16, 6, "    1.000000E-03"},
      {9.9996f, 10, 3, " 1.000E+01"},  // rounding carries into the exponent
      {1.0625f, 10, 3, " 1.062E+00"},  // tie to even: down
      {1.1875f, 10, 3, " 1.188E+00"},  // tie to even: up
      {kMax, 10, 3, " 3.403E+38"},
      {kMinNormal, 16, 6, "    1.175494E-38"},
      {fromBits(0x00000001), 10, 3, " 0.000E+00"},  // subnormals count as zero
      {-12.5f, 9, 3, "*********"},
      {12.5f, 8, 3, "********"},
      {kInfinity, 10, 3, "  Infinity"},
      {-kInfinity, 10, 3, " -Infinity"},
      {kNaN, 16, 6, "             NaN"},
      {kInfinity, 5, 3, "*****"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scientificText(c.value, c.width, c.decimals), c.text)
        << c.value << " in " << c.width << '.' << c.decimals;
  }
  EXPECT_EQ(numberTextA(12.5f), " 1.250E+01");
  EXPECT_EQ(numberTextB(10.0f), "    1.000000E+01");
}

TEST(DtText, FixedFromOneThousandthOnScientificBelow) {
  const struct {
    float DT;
    const char* text;
  } cases[] = {
      {0.01f, "0.01"},
      {5e-4f, "5.E-04"},
      {0.001f, "0.001"},
      {fromBits(0x3a83126e), "1.E-03"},  // just below 0.001f: rounds up to 1.00000E-03
      {1.25e-4f, "1.25E-04"},
      {0.02f, "0.02"},
      {1.0f, "1."},
      {0.015625f, "0.01562"},  // tie to even: down
      {0.046875f, "0.04688"},  // tie to even: up
      {1234567.0f, "1234567."},
      {1e7f, "*************"},  // 10000000.00000 needs 14 characters
      {0.0f, "0.E+00"},
      {-0.01f, "-1.E-02"},
      {kInfinity, "Infinity"},
      {kNaN, "NaN"},
  };
  for (const auto& c : cases) EXPECT_EQ(dtText(c.DT), fixedField(c.text, 24)) << c.DT;
}

TEST(TtText, GeneralEditingWithSevenDigits) {
  const struct {
    float TT;
    const char* text;
  } cases[] = {
      {10.0f, "10."},
      {1e8f, "0.1E+09"},
      {0.0f, "0."},
      {-0.0f, "0."},
      {0.1f, "0.1"},
      {fromBits(0x3dcccccc), "0.9999999E-01"},
      {0.5f, "0.5"},
      {-2.5f, "-2.5"},
      {123.456f, "123.456"},
      {12.3456789f, "12.34568"},
      {1234567.5f, "1234568."},
      {9999999.0f, "9999999."},
      {1e7f, "0.1E+08"},
      {-1e8f, "-0.1E+09"},
      {0.001f, "0.1E-02"},
      {kMax, "0.3402823E+39"},
      {kMinNormal, "0.1175494E-37"},
      {fromBits(0x00000001), "0."},
      {kInfinity, "Infinity"},
      {-kInfinity, "-Infinity"},
      {kNaN, "NaN"},
  };
  for (const auto& c : cases) EXPECT_EQ(ttText(c.TT), fixedField(c.text, 24)) << c.TT;
}

TEST(StepsText, RightAlignedInTheDigitCountOfTheStepCount) {
  const struct {
    std::int32_t stepCount;
    const char* text;
  } cases[] = {
      {1001, "1000"},
      {10, " 9"},
      {100, " 99"},
      {1, "0"},
      {0, "*"},
      {-5, "-6"},
      {-9, "**"},  // -10 needs three characters
      {2147483647, "2147483646"},
      {-999999999, "**********"},
      {-1000000000, "-1000000001"},
      {-2147483647 - 1, "-2147483649"},
  };
  for (const auto& c : cases) {
    const std::string text = c.text;
    EXPECT_EQ(stepsText(c.stepCount), fixedField(text, std::max<std::size_t>(10, text.size())))
        << c.stepCount;
  }
}

TEST(NodeItemText, NodeNumberWithoutBlanksInTenCharacters) {
  EXPECT_EQ(nodeItemText(5), "5         ");
  EXPECT_EQ(nodeItemText(1034), "1034      ");
  EXPECT_EQ(nodeItemText(2147483647), "2147483647");
}

}  // namespace
}  // namespace qtv
