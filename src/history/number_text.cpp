#include "history/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/fixed_text.h"

namespace qtv {
namespace {

// |x| rounded to n significant digits: `digits` has exactly n digits and the value is
// digits x 10^(exponent - n + 1), so `exponent` is the exponent of scientific notation.
struct Rounded {
  std::uint32_t digits;
  int exponent;
};

constexpr std::uint32_t kIntPow10[] = {1,      10,      100,      1000,     10000,
                                       100000, 1000000, 10000000, 100000000};

// 10^p for p = kMinPow10 ... 45, each the double nearest to it.
constexpr int kMinPow10 = -39;
constexpr double kPow10[] = {
    1e-39, 1e-38, 1e-37, 1e-36, 1e-35, 1e-34, 1e-33, 1e-32, 1e-31, 1e-30,
    1e-29, 1e-28, 1e-27, 1e-26, 1e-25, 1e-24, 1e-23, 1e-22, 1e-21, 1e-20,
    1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11, 1e-10,
    1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,
    1e1,   1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,
    1e11,  1e12,  1e13,  1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,
    1e21,  1e22,  1e23,  1e24,  1e25,  1e26,  1e27,  1e28,  1e29,  1e30,
    1e31,  1e32,  1e33,  1e34,  1e35,  1e36,  1e37,  1e38,  1e39,  1e40,
    1e41,  1e42,  1e43,  1e44,  1e45,
};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes v (< 10^8) as exactly 8 digits, with leading zeros, to out.
void writeEightDigits(std::uint32_t v, char* out) {
  const std::uint32_t high = v / 10000;
  const std::uint32_t low = v % 10000;
  std::memcpy(out, kDigitPairs + 2 * (high / 100), 2);
  std::memcpy(out + 2, kDigitPairs + 2 * (high % 100), 2);
  std::memcpy(out + 4, kDigitPairs + 2 * (low / 100), 2);
  std::memcpy(out + 6, kDigitPairs + 2 * (low % 100), 2);
}

// Exact rounding through the standard library, which rounds the exact binary value.
Rounded roundSignificantExactly(float magnitude, int n) {
  char text[32];
  const auto result =
      std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, n - 1);
  Rounded r{0, 0};
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.') r.digits = r.digits * 10 + static_cast<std::uint32_t>(*p - '0');
  }
  ++p;
  if (*p == '+') ++p;  // from_chars takes no plus sign
  std::from_chars(p, result.ptr, r.exponent);
  return r;
}

// magnitude: a positive, normal, finite value; n in 1 ... 8. The fast path scales the value to
// n digits in double arithmetic; its relative error is below 2^-51 (one rounding in the power of
// ten, one in the product), so below 1e8 x 2^-51 < 5e-8 absolute. When the scaled value lies
// within 1e-7 of a rounding tie the result is taken from the exact path instead.
Rounded roundSignificant(float magnitude, int n) {
  const int binaryExponent = static_cast<int>(std::bit_cast<std::uint32_t>(magnitude) >> 23) - 127;
  // floor(binaryExponent x log10(2)): the decimal exponent, or one less than it.
  int exponent = (binaryExponent * 78913) >> 18;
  const double value = magnitude;
  const double limit = kIntPow10[n];
  double scaled = value * kPow10[n - 1 - exponent - kMinPow10];
  if (scaled >= limit) {
    ++exponent;
    scaled = value * kPow10[n - 1 - exponent - kMinPow10];
  }
  const auto whole = static_cast<std::uint32_t>(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1e-7) return roundSignificantExactly(magnitude, n);
  std::uint32_t digits = whole + (fraction > 0.5 ? 1 : 0);
  if (digits == kIntPow10[n]) {
    digits = kIntPow10[n - 1];
    ++exponent;
  }
  return {digits, exponent};
}

// For a 32-bit value, rounding to 7 significant digits lands in [0.1, 1e7) exactly when
// 0.1f <= magnitude < 1e7f: no float lies in [0.099999995, 0.1f) nor in [9999999.5, 1e7f).
bool inFixedRange(float magnitude) { return magnitude >= 0.1f && magnitude < 1e7f; }

// Zero, negative zero and subnormal values all read as zero: the run counts subnormals as
// zero, and the texts must not depend on the processor's mode.
bool readsAsZero(std::uint32_t bits) { return (bits & 0x7f800000u) == 0; }

std::string_view nonFiniteText(float value) {
  if (std::isnan(value)) return "NaN";
  return value < 0 ? "-Infinity" : "Infinity";
}

// The 7 digits of r (exponent -1 ... 6) with the point after exponent + 1 of them, "0." before
// them when there is none, and the sign, ending just before `end`; the caller has blanked the
// field. This is the hot path of every history line, so the point goes in by shifting one
// 8-character word instead of copies of varying length.
void writeFixedForm(Rounded r, bool negative, char* end) {
  static_assert(std::endian::native == std::endian::little, "character i is byte i of a word");
  char digits[8];  // "0" and the 7 digits
  writeEightDigits(r.digits, digits);
  std::uint64_t word;
  std::memcpy(&word, digits, 8);
  const int integerDigits = r.exponent + 1;
  const unsigned point = 8u * static_cast<unsigned>(integerDigits);
  // The digits before the point move one character to the front; those after it stay.
  const std::uint64_t text = ((word >> 8) & ((std::uint64_t{1} << point) - 1)) |
                             (std::uint64_t{'.'} << point) |
                             (word & (~std::uint64_t{0} << point << 8));
  char* first = end - 8;
  std::memcpy(first, &text, 8);
  if (integerDigits == 0) *--first = '0';
  if (negative) first[-1] = '-';
}

// "E", the sign and two digits of an exponent whose magnitude is below 100.
void writeExponent(int exponent, char* out) {
  out[0] = 'E';
  out[1] = exponent < 0 ? '-' : '+';
  std::memcpy(out + 2, kDigitPairs + 2 * std::abs(exponent), 2);
}

// text right-aligned in width characters, or width asterisks when it does not fit.
std::string rightAligned(std::string_view text, int width) {
  const auto size = static_cast<std::size_t>(width);
  if (text.size() > size) return std::string(size, '*');
  return std::string(size - text.size(), ' ').append(text);
}

}  // namespace

std::int32_t digitCount(std::int32_t n) {
  std::int32_t count = n < 0 ? 2 : 1;
  for (std::int32_t rest = n; rest >= 10 || rest <= -10; rest /= 10) ++count;
  return count;
}

std::string integerText(std::int32_t n) {
  char text[16];
  const auto result = std::to_chars(text, text + sizeof text, n);
  return std::string(text, result.ptr);
}

void trimRealText(std::string& text) {
  const std::size_t length = text.size();
  const std::size_t first = text.find_first_not_of(' ');
  const std::string_view aligned =
      first == std::string::npos ? std::string_view{}
                                 : withoutTrailingBlanks(std::string_view(text).substr(first));
  const std::size_t exponentAt = aligned.find_first_of("EDed");
  const std::string_view mantissaPart = aligned.substr(0, std::min<std::size_t>(exponentAt, 19));
  std::string mantissa = fixedField(mantissaPart, 19);
  const std::size_t point = mantissa.find('.');
  if (point == std::string::npos) {
    text = fixedField(aligned, length);
    return;
  }
  // Trailing zeros go; the loop stops at the point at the latest, so the point always stays.
  for (std::size_t i = mantissaPart.size(); i > point + 1 && mantissa[i - 1] == '0'; --i) {
    mantissa[i - 1] = ' ';
  }
  std::string shortened(withoutTrailingBlanks(mantissa));
  if (exponentAt != std::string_view::npos) {
    shortened += withoutTrailingBlanks(aligned.substr(exponentAt, 5));
  }
  text = fixedField(shortened, length);
}

void formatHistoryField(float value, char* out) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  if (readsAsZero(bits)) {
    std::memcpy(out, "  0.0000000E+00", kHistoryFieldWidth);
    return;
  }
  if (!std::isfinite(value)) {
    const std::string_view text = nonFiniteText(value);
    std::memset(out, ' ', kHistoryFieldWidth - text.size());
    std::memcpy(out + kHistoryFieldWidth - text.size(), text.data(), text.size());
    return;
  }
  const bool negative = (bits >> 31) != 0;
  const float magnitude = std::fabs(value);
  if (inFixedRange(magnitude)) {
    std::memset(out, ' ', kHistoryFieldWidth);
    writeFixedForm(roundSignificant(magnitude, 7), negative, out + 11);
    return;
  }
  // d.dddddddE+ee: 8 significant digits.
  const Rounded r = roundSignificant(magnitude, 8);
  char digits[8];
  writeEightDigits(r.digits, digits);
  out[0] = ' ';
  out[1] = negative ? '-' : ' ';
  out[2] = digits[0];
  out[3] = '.';
  std::memcpy(out + 4, digits + 1, 7);
  writeExponent(r.exponent, out + 11);
}

std::string scientificText(float value, int width, int decimals) {
  if (!std::isfinite(value)) return rightAligned(nonFiniteText(value), width);
  const auto bits = std::bit_cast<std::uint32_t>(value);
  char text[24];
  char* p = text;
  if (readsAsZero(bits)) {
    *p++ = '0';
    *p++ = '.';
    std::memset(p, '0', static_cast<std::size_t>(decimals));
    p += decimals;
    writeExponent(0, p);
  } else {
    const Rounded r = roundSignificant(std::fabs(value), decimals + 1);
    char digits[8];
    writeEightDigits(r.digits, digits);
    const char* first = digits + 7 - decimals;
    if ((bits >> 31) != 0) *p++ = '-';
    *p++ = first[0];
    *p++ = '.';
    std::memcpy(p, first + 1, static_cast<std::size_t>(decimals));
    p += decimals;
    writeExponent(r.exponent, p);
  }
  return rightAligned(std::string_view(text, static_cast<std::size_t>(p + 4 - text)), width);
}

std::string dtText(float DT) {
  std::string text;
  // scientificText also writes the texts of NaN and the infinities.
  if (DT < 0.001f || !std::isfinite(DT)) {
    text = scientificText(DT, 13, 5);
  } else {
    char fixed[64];
    const auto result =
        std::to_chars(fixed, fixed + sizeof fixed, DT, std::chars_format::fixed, 5);
    text = rightAligned(std::string_view(fixed, result.ptr), 13);
  }
  text = fixedField(text, 24);
  trimRealText(text);
  return text;
}

std::string ttText(float TT) {
  std::string text;
  const auto bits = std::bit_cast<std::uint32_t>(TT);
  const float magnitude = std::fabs(TT);
  if (!std::isfinite(TT)) {
    text = rightAligned(nonFiniteText(TT), 14);
  } else if (readsAsZero(bits)) {
    text = "  0.000000    ";
  } else {
    const Rounded r = roundSignificant(magnitude, 7);
    const bool negative = (bits >> 31) != 0;
    char field[14];
    std::memset(field, ' ', sizeof field);
    if (inFixedRange(magnitude)) {
      writeFixedForm(r, negative, field + 10);
    } else {
      // 0.dddddddE+ee: the exponent is one more than in d.dddddd form.
      field[0] = negative ? '-' : ' ';
      writeEightDigits(r.digits, field + 2);  // a leading "0", then the 7 digits
      field[1] = '0';
      field[2] = '.';
      writeExponent(r.exponent + 1, field + 10);
    }
    text.assign(field, sizeof field);
  }
  text = fixedField(text, 24);
  trimRealText(text);
  return text;
}

std::string stepsText(std::int32_t stepCount) {
  const std::int64_t shown = std::int64_t{stepCount} - 1;
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, shown);
  const std::string text =
      rightAligned(std::string_view(digits, result.ptr), digitCount(stepCount));
  // An 11-character count (a large negative one) is shown whole rather than cut.
  return fixedField(text, std::max<std::size_t>(10, text.size()));
}

std::string nodeItemText(std::int32_t node) { return fixedField(integerText(node), 10); }

}  // namespace qtv
