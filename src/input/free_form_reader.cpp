#include "input/free_form_reader.h"

#include <algorithm>
#include <charconv>
#include <type_traits>

#include "platform/fixed_text.h"
#include "platform/program_end.h"

namespace qtv {
namespace {

enum class Conversion { ok, notANumber, outOfRange };

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The CR of a CR LF line end reads as a blank.
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool endsValue(char c) { return isBlank(c) || c == '\n' || c == ',' || c == '/'; }
bool isSign(char c) { return c == '+' || c == '-'; }

std::size_t endOfDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && isDigit(text[i])) ++i;
  return i;
}

Conversion convertInt(std::string_view text, std::int32_t& value) {
  const std::size_t digits = !text.empty() && isSign(text[0]) ? 1 : 0;
  if (digits == text.size() || endOfDigits(text, digits) != text.size())
    return Conversion::notANumber;
  // from_chars takes a minus sign but no plus sign.
  const std::string_view number = text[0] == '+' ? text.substr(1) : text;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  return result.ec == std::errc{} ? Conversion::ok : Conversion::outOfRange;
}

// The exponent's value, held within a bound far beyond any float so that no text overflows it.
std::int64_t boundedExponent(std::string_view signAndDigits) {
  constexpr std::int64_t bound = 1'000'000'000'000;
  std::int64_t value = 0;
  for (char c : signAndDigits.substr(isSign(signAndDigits[0]) ? 1 : 0)) {
    value = std::min(bound, value * 10 + (c - '0'));
  }
  return signAndDigits[0] == '-' ? -value : value;
}

// [sign] digits [. digits] or [sign] . digits, then an optional exponent: E, e, D or d with an
// optional sign, or a bare sign, then digits. The nearest float of the exact decimal value.
Conversion convertReal(std::string_view text, float& value) {
  std::size_t i = !text.empty() && isSign(text[0]) ? 1 : 0;
  const std::size_t integerBegin = i;
  i = endOfDigits(text, i);
  const std::string_view integerDigits = text.substr(integerBegin, i - integerBegin);
  std::string_view fractionDigits;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fractionBegin = ++i;
    i = endOfDigits(text, i);
    fractionDigits = text.substr(fractionBegin, i - fractionBegin);
  }
  if (integerDigits.empty() && fractionDigits.empty()) return Conversion::notANumber;

  std::string number(text.substr(0, i));
  if (number[0] == '+') number.erase(0, 1);
  std::int64_t exponent = 0;
  if (i < text.size()) {
    const char marker = text[i];
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
      ++i;
    } else if (!isSign(marker)) {
      return Conversion::notANumber;
    }
    const std::size_t exponentBegin = i;
    if (i < text.size() && isSign(text[i])) ++i;
    const std::size_t digitsBegin = i;
    i = endOfDigits(text, i);
    if (i == digitsBegin || i != text.size()) return Conversion::notANumber;
    number += 'e';
    number += text.substr(exponentBegin);
    exponent = boundedExponent(text.substr(exponentBegin));
  }

  // from_chars rounds the exact decimal value to nearest, ties to even, and reports a value
  // beyond the float range both when it is too large and when it rounds to zero.
  float converted = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), converted);
  if (result.ec == std::errc::result_out_of_range) {
    // A zero mantissa never gets here, so there is a non-zero digit. The decimal position of
    // the first one tells the two apart: a too small value is far below 1, a too large one far
    // above.
    const std::size_t integerLead = integerDigits.find_first_not_of('0');
    const std::int64_t leadPosition =
        integerLead != std::string_view::npos
            ? static_cast<std::int64_t>(integerDigits.size() - integerLead) - 1
            : -static_cast<std::int64_t>(fractionDigits.find_first_not_of('0')) - 1;
    if (leadPosition + exponent >= 0) return Conversion::outOfRange;
    converted = number[0] == '-' ? -0.0f : 0.0f;
  } else if (result.ec != std::errc{}) {
    return Conversion::notANumber;
  }
  value = converted;
  return Conversion::ok;
}

}  // namespace

FreeFormReader::FreeFormReader(std::string_view text, std::string fileName)
    : text_(text), fileName_(std::move(fileName)) {}

void FreeFormReader::beginGroup(std::string_view what) {
  what_ = what;
  afterValue_ = false;
  slashSeen_ = false;
  repeatsLeft_ = 0;
}

void FreeFormReader::skipSpace() {
  while (position_ < text_.size() && (isBlank(text_[position_]) || text_[position_] == '\n')) {
    ++position_;
  }
}

// The text of the group's next value; empty for an empty value and after the slash.
std::string_view FreeFormReader::nextValue() {
  if (slashSeen_) return {};
  if (repeatsLeft_ > 0) {
    --repeatsLeft_;
    return repeatedValue_;
  }
  skipSpace();
  if (position_ == text_.size()) failAtEnd();
  if (text_[position_] == ',' && afterValue_) {
    // The comma that separates the previous value from this one.
    ++position_;
    afterValue_ = false;
    skipSpace();
    if (position_ == text_.size()) failAtEnd();
  }
  valueOffset_ = position_;
  if (text_[position_] == ',') {
    ++position_;
    return {};
  }
  if (text_[position_] == '/') {
    ++position_;
    slashSeen_ = true;
    return {};
  }
  const auto end =
      std::find_if(text_.begin() + static_cast<std::ptrdiff_t>(position_), text_.end(), endsValue);
  const std::size_t endOffset = static_cast<std::size_t>(end - text_.begin());
  const std::string_view value = text_.substr(position_, endOffset - position_);
  position_ = endOffset;
  afterValue_ = true;

  const std::size_t star = value.find('*');
  if (star == std::string_view::npos) return value;
  const std::string_view countText = value.substr(0, star);
  std::int32_t count = 0;
  if (countText.empty() || !isDigit(countText[0]) ||
      convertInt(countText, count) != Conversion::ok || count < 1) {
    failFound("a positive repeat count", value);
  }
  repeatsLeft_ = count - 1;
  repeatedValue_ = value.substr(star + 1);
  return repeatedValue_;
}

void FreeFormReader::readInt(std::int32_t& field) {
  const std::string_view value = nextValue();
  if (value.empty()) return;
  switch (convertInt(value, field)) {
    case Conversion::ok:
      return;
    case Conversion::notANumber:
      failFound("an integer", value);
    case Conversion::outOfRange:
      failFound("an integer from -2147483648 to 2147483647", value);
  }
}

void FreeFormReader::readReal(float& field) {
  const std::string_view value = nextValue();
  if (value.empty()) return;
  switch (convertReal(value, field)) {
    case Conversion::ok:
      return;
    case Conversion::notANumber:
      failFound("a real number", value);
    case Conversion::outOfRange:
      failFound("a real number within the single-precision range", value);
  }
}

void FreeFormReader::endGroup() {
  const std::size_t lineEnd = text_.find('\n', position_);
  position_ = lineEnd == std::string_view::npos ? text_.size() : lineEnd + 1;
}

void FreeFormReader::readGroup(std::string_view what, std::initializer_list<Field> fields) {
  beginGroup(what);
  for (const Field& field : fields) {
    std::visit(
        [this](auto* destination) {
          if constexpr (std::is_same_v<decltype(destination), std::int32_t*>) {
            readInt(*destination);
          } else {
            readReal(*destination);
          }
        },
        field);
  }
  endGroup();
}

std::string FreeFormReader::readTextLine(std::size_t length, std::string_view what) {
  what_ = what;
  if (position_ == text_.size()) failAtEnd();
  valueOffset_ = position_;
  const std::size_t lineEnd = std::min(text_.find('\n', position_), text_.size());
  std::string_view line = text_.substr(position_, lineEnd - position_);
  position_ = std::min(lineEnd + 1, text_.size());
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return fixedField(line, length);
}

void FreeFormReader::fail(std::string_view message) const { failAt(valueOffset_, message); }

void FreeFormReader::failAt(std::size_t offset, std::string_view message) const {
  const auto line =
      1 + std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n');
  throw FatalError(fileName_ + ':' + std::to_string(line) + ": " + std::string(message));
}

void FreeFormReader::failAtEnd() const {
  // Names the last line of the text rather than the empty one after its final line end.
  const bool endsWithLineEnd = !text_.empty() && text_.back() == '\n';
  failAt(text_.size() - (endsWithLineEnd ? 1 : 0),
         "the file ends before " + what_ + " is complete");
}

void FreeFormReader::failFound(std::string_view expected, std::string_view found) const {
  // A value runs to the next separator; a long run of garbage is cut to keep the report short.
  constexpr std::size_t shown = 40;
  std::string text(found.substr(0, shown));
  if (found.size() > shown) text += "...";
  fail("expected " + std::string(expected) + ", found '" + text + "'");
}

}  // namespace qtv
