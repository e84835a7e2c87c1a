// formatHistoryField and the console number texts against a slow reference that writes out the
// exact decimal expansion of each float with big-integer arithmetic and rounds it, ties to even.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "history/number_text.h"
#include "platform/stdio/floating_point_mode.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace qtv {
namespace {

// A non-negative integer in base 10^9 limbs, least significant first.
class BigNumber {
 public:
  explicit BigNumber(std::uint32_t value) : limbs_{value % kBase, value / kBase} {}

  void multiply(std::uint32_t factor) {  // factor < 2^32
    std::uint64_t carry = 0;
    for (auto& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product % kBase);
      carry = product / kBase;
    }
    while (carry != 0) {
      limbs_.push_back(static_cast<std::uint32_t>(carry % kBase));
      carry /= kBase;
    }
  }

  // Multiplies by base^count, in steps that keep each factor below 2^32.
  void multiplyByPower(std::uint32_t base, int count, int stepCount, std::uint32_t step) {
    for (; count >= stepCount; count -= stepCount) multiply(step);
    for (; count > 0; --count) multiply(base);
  }

  std::string decimal() const {
    std::string text;
    for (auto limb = limbs_.rbegin(); limb != limbs_.rend(); ++limb) {
      std::string part;
      for (std::uint32_t rest = *limb, i = 0; i < 9; ++i, rest /= 10) {
        part.insert(part.begin(), static_cast<char>('0' + rest % 10));
      }
      text += part;
    }
    const auto first = text.find_first_not_of('0');
    return first == std::string::npos ? "0" : text.substr(first);
  }

 private:
  static constexpr std::uint32_t kBase = 1000000000;
  std::vector<std::uint32_t> limbs_;
};

// A positive normal float rounded to n significant digits: the digits, and the exponent of the
// first of them in scientific notation.
struct ReferenceDigits {
  std::string digits;
  int exponent;
};

ReferenceDigits referenceRound(float magnitude, int n) {
  const auto bits = std::bit_cast<std::uint32_t>(magnitude);
  // magnitude = mantissa x 2^binaryExponent exactly.
  const std::uint32_t mantissa = (bits & 0x7fffff) | 0x800000;
  const int binaryExponent = static_cast<int>(bits >> 23) - 150;
  BigNumber number(mantissa);
  int fractionDigits = 0;
  if (binaryExponent >= 0) {
    number.multiplyByPower(2, binaryExponent, 30, 1u << 30);
  } else {
    // mantissa / 2^k = mantissa x 5^k / 10^k
    number.multiplyByPower(5, -binaryExponent, 13, 1220703125);
    fractionDigits = -binaryExponent;
  }
  const std::string exact = number.decimal();
  ReferenceDigits r{exact.substr(0, static_cast<std::size_t>(n)),
                    static_cast<int>(exact.size()) - 1 - fractionDigits};
  r.digits.resize(static_cast<std::size_t>(n), '0');
  const char next = exact.size() > r.digits.size() ? exact[r.digits.size()] : '0';
  const bool beyondNext = exact.size() > r.digits.size() + 1 &&
                          exact.find_first_not_of('0', r.digits.size() + 1) != std::string::npos;
  const bool odd = (r.digits.back() - '0') % 2 == 1;
  if (next > '5' || (next == '5' && (beyondNext || odd))) {
    auto digit = r.digits.rbegin();
    for (; digit != r.digits.rend() && *digit == '9'; ++digit) *digit = '0';
    if (digit == r.digits.rend()) {
      r.digits.front() = '1';
      ++r.exponent;
    } else {
      ++*digit;
    }
  }
  return r;
}

std::string leftPadded(const std::string& text, std::size_t width) {
  return std::string(width - std::min(width, text.size()), ' ') + text;
}

std::string exponentText(int exponent) {
  const int size = std::abs(exponent);
  return std::string("E") + (exponent < 0 ? '-' : '+') + static_cast<char>('0' + size / 10) +
         static_cast<char>('0' + size % 10);
}

bool isZeroOrSubnormal(float value) { return (std::bit_cast<std::uint32_t>(value) & 0x7f800000) == 0; }

std::string referenceNonFinite(float value) {
  return std::isnan(value) ? "NaN" : value < 0 ? "-Infinity" : "Infinity";
}

std::string referenceHistoryField(float value) {
  if (!std::isfinite(value)) return leftPadded(referenceNonFinite(value), 15);
  if (isZeroOrSubnormal(value)) return "  0.0000000E+00";
  const std::string sign = std::signbit(value) ? "-" : "";
  const ReferenceDigits seven = referenceRound(std::fabs(value), 7);
  const int k = seven.exponent + 1;  // value = 0.d1...d7 x 10^k
  if (k >= 0 && k <= 7) {
    const std::string whole = k == 0 ? "0" : seven.digits.substr(0, static_cast<std::size_t>(k));
    return leftPadded(sign + whole + "." + seven.digits.substr(static_cast<std::size_t>(k)), 11) +
           "    ";
  }
  const ReferenceDigits eight = referenceRound(std::fabs(value), 8);
  return leftPadded(sign + eight.digits.substr(0, 1) + "." + eight.digits.substr(1) +
                        exponentText(eight.exponent),
                    15);
}

std::string referenceScientific(float value, int width, int decimals) {
  std::string text;
  if (!std::isfinite(value)) {
    text = referenceNonFinite(value);
  } else if (isZeroOrSubnormal(value)) {
    text = "0." + std::string(static_cast<std::size_t>(decimals), '0') + "E+00";
  } else {
    const ReferenceDigits r = referenceRound(std::fabs(value), decimals + 1);
    text = (std::signbit(value) ? "-" : "") + r.digits.substr(0, 1) + "." + r.digits.substr(1) +
           exponentText(r.exponent);
  }
  return text.size() > static_cast<std::size_t>(width)
             ? std::string(static_cast<std::size_t>(width), '*')
             : leftPadded(text, static_cast<std::size_t>(width));
}

std::string historyField(float value) {
  std::string field(kHistoryFieldWidth, '#');
  formatHistoryField(value, field.data());
  return field;
}

// Floats whose exact value lies exactly halfway between two n-digit roundings: m x 2^-j with m
// odd has the significand m x 5^j, which ends in 5; it is a tie when it has n + 1 digits.
std::vector<float> tiesAt(int n, std::mt19937& random) {
  std::vector<float> values;
  const double low = std::pow(10.0, n);
  for (int j = 1; std::pow(5.0, j) < 10 * low; ++j) {
    const double fivePower = std::pow(5.0, j);
    const auto first = static_cast<std::uint32_t>(std::ceil(low / fivePower)) | 1u;
    const auto last = static_cast<std::uint32_t>(
        std::min(std::ceil(10 * low / fivePower) - 1, double{(1u << 24) - 1}));
    if (first > last) continue;
    std::uniform_int_distribution<std::uint32_t> pick(first / 2, last / 2);
    for (int i = 0; i < 40; ++i) {
      const std::uint32_t m = 2 * pick(random) + 1;
      if (m < first || m > last) continue;
      const float value = std::ldexp(static_cast<float>(m), -j);
      values.push_back(value);
      values.push_back(-value);
    }
  }
  return values;
}

// The values of the sweep: random bit patterns, the working range of times and responses,
// step-series times, every float near each power of ten from 1e-10 to 1e10, the ends of every
// binade and the exact ties.
std::vector<float> sweepValues() {
  std::mt19937 random(20240613);
  std::vector<float> values;
  std::uniform_int_distribution<std::uint32_t> anyBits;
  for (int i = 0; i < 200000; ++i) values.push_back(std::bit_cast<float>(anyBits(random)));
  std::uniform_int_distribution<std::uint32_t> workingRange(std::bit_cast<std::uint32_t>(1e-4f),
                                                            std::bit_cast<std::uint32_t>(1e8f));
  for (int i = 0; i < 100000; ++i) {
    const float value = std::bit_cast<float>(workingRange(random));
    values.push_back(i % 2 == 0 ? value : -value);
  }
  for (const float DT : {0.01f, 0.02f, 0.005f}) {
    for (int step = 0; step < 30000; ++step) values.push_back(static_cast<float>(step) * DT);
  }
  for (int power = -10; power <= 10; ++power) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(std::pow(10.0, power)));
    for (std::uint32_t offset = 0; offset <= 4000; ++offset) {
      values.push_back(std::bit_cast<float>(bits - 2000 + offset));
    }
  }
  for (std::uint32_t exponent = 1; exponent < 255; ++exponent) {
    values.push_back(std::bit_cast<float>(exponent << 23));
    values.push_back(std::bit_cast<float>((exponent << 23) | 0x7fffff));
  }
  for (const int n : {4, 7, 8}) {
    const auto ties = tiesAt(n, random);
    values.insert(values.end(), ties.begin(), ties.end());
  }
  values.insert(values.end(), {0.1f, 1e7f, 9999999.0f, 1234567.5f, 0.0f, -0.0f});
  return values;
}

const std::vector<float>& sweep() {
  static const std::vector<float> values = sweepValues();
  return values;
}

// Compares a text function with its reference over the sweep, listing the first mismatches.
template <typename Actual, typename Reference>
void expectSameOverSweep(Actual actual, Reference reference) {
  int mismatches = 0;
  for (const float value : sweep()) {
    const std::string got = actual(value);
    const std::string want = reference(value);
    if (got != want && ++mismatches <= 10) {
      ADD_FAILURE() << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(value) << ": got \""
                    << got << "\", want \"" << want << '"';
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(NumberTextSweep, SweepHoldsTiesAtEveryPrecision) {
  // Guards the sweep itself: the tie generator must find ties for each precision.
  std::mt19937 random(1);
  for (const int n : {4, 7, 8}) {
    const auto ties = tiesAt(n, random);
    ASSERT_FALSE(ties.empty()) << n;
    const std::string exact = referenceRound(std::fabs(ties.front()), n + 1).digits;
    EXPECT_EQ(exact.back(), '5') << n;
    EXPECT_EQ(referenceRound(std::fabs(ties.front()), n + 2).digits.back(), '0') << n;
  }
}

TEST(NumberTextSweep, ReferenceRoundsTheExactValue) {
  EXPECT_EQ(referenceRound(0.1f, 12).digits, "100000001490");
  EXPECT_EQ(referenceRound(1234567.5f, 7).digits, "1234568");
  EXPECT_EQ(referenceRound(1234568.5f, 7).digits, "1234568");
  EXPECT_EQ(referenceRound(9.9996f, 4).digits, "1000");
  EXPECT_EQ(referenceRound(9.9996f, 4).exponent, 1);
  EXPECT_EQ(referenceRound(std::numeric_limits<float>::min(), 8).exponent, -38);
  EXPECT_EQ(referenceHistoryField(0.05f), "  5.0000001E-02");
  EXPECT_EQ(referenceHistoryField(-0.5f), " -0.5000000    ");
}

TEST(NumberTextSweep, HistoryFieldMatchesReference) {
  expectSameOverSweep(historyField, referenceHistoryField);
}

TEST(NumberTextSweep, NumberTextsMatchReference) {
  expectSameOverSweep([](float v) { return numberTextA(v); },
                      [](float v) { return referenceScientific(v, 10, 3); });
  expectSameOverSweep([](float v) { return numberTextB(v); },
                      [](float v) { return referenceScientific(v, 16, 6); });
}

#if defined(__x86_64__) || defined(__i386__)
TEST(NumberTextSweep, TextsDoNotDependOnTheFlushToZeroMode) {
  std::vector<float> values(sweep().end() - 5000, sweep().end());  // ties and edges
  for (const std::uint32_t bits : {0x00000001u, 0x007fffffu, 0x807fffffu, 0x00800000u}) {
    values.push_back(std::bit_cast<float>(bits));
  }
  std::vector<std::string> plain;
  for (const float value : values) plain.push_back(historyField(value) + numberTextB(value));
  const unsigned savedMode = _mm_getcsr();
  setFlushToZeroMode();
  volatile float subnormal = std::bit_cast<float>(0x00000001u);
  const bool flushed = subnormal * 1.0f == 0.0f;
  std::vector<std::string> flushedTexts;
  for (const float value : values) flushedTexts.push_back(historyField(value) + numberTextB(value));
  _mm_setcsr(savedMode);
  ASSERT_TRUE(flushed);
  EXPECT_EQ(flushedTexts, plain);
}
#endif

}  // namespace
}  // namespace qtv
