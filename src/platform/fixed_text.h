#pragma once
// Fixed-length, blank-padded text fields, as every text of a run is kept.
#include <cstddef>
#include <string>
#include <string_view>

namespace qtv {

// text blank-padded or cut to exactly `length` characters.
inline std::string fixedField(std::string_view text, std::size_t length) {
  std::string field(text.substr(0, length));
  field.resize(length, ' ');
  return field;
}

// text without its trailing blanks.
inline std::string_view withoutTrailingBlanks(std::string_view text) {
  const auto last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace qtv
