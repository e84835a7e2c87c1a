#pragma once
// Every text of a number the program shows or writes. Exact for every 32-bit float: all
// rounding is of the exact binary value, to nearest, ties to even. Independent of the locale.
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace qtv {

// Characters of n written in decimal without padding (a minus sign counts).
std::int32_t digitCount(std::int32_t n);

// n in decimal with exactly digitCount(n) characters.
std::string integerText(std::int32_t n);

// The shortest decimal text that reads back to the same float: "0.1", "1e-05", "-0".
inline std::string shortestText(float value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

// Shortens the text of a real written in a fixed layout, in place, keeping its length:
// "      0.01000" -> "0.01" (blank-padded).
void trimRealText(std::string& text);

inline constexpr std::size_t kHistoryFieldWidth = 15;

// The 15-character field of one number in a history line, written to out[0..14]. No heap
// allocation. Fixed form with 7 significant digits for 0.1 <= |value| < 1e7 (after rounding to
// 7 digits), otherwise exponent form with 8 significant digits. Zero, negative zero and
// subnormal values give "  0.0000000E+00"; NaN and the infinities give "NaN", "Infinity" and
// "-Infinity", right-aligned.
void formatHistoryField(float value, char* out);

// Console number texts: one non-zero digit, `decimals` digits, E, sign, two exponent digits,
// right-aligned in `width`; asterisks when it does not fit. decimals is 0 ... 7. Subnormal
// values are written as zero, NaN and the infinities as "NaN", "Infinity", "-Infinity".
std::string scientificText(float value, int width, int decimals);
inline std::string numberTextA(float value) { return scientificText(value, 10, 3); }
inline std::string numberTextB(float value) { return scientificText(value, 16, 6); }

// The dialog's texts of DT and TT, 24 characters, already shortened with trimRealText.
std::string dtText(float DT);
std::string ttText(float TT);
// stepCount - 1 right-aligned in digitCount(stepCount) characters, asterisks when too wide;
// in a 10-character field, or an 11-character one for a count below -999999999.
std::string stepsText(std::int32_t stepCount);
// The node list's item text: the node number without blanks, in a 10-character field.
std::string nodeItemText(std::int32_t node);

}  // namespace qtv
