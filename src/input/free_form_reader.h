#pragma once
// Free-form number groups and fixed-length text lines, read from the whole text of a file.
//
// A number group begins on a new line and runs over as many lines as it needs. Blanks, tabs,
// line ends and commas separate its values; blanks and line ends around a comma belong to that
// comma, and two commas with nothing but blanks between them leave an empty value. `r*c` stands
// for r copies of c, `r*` for r empty values. An empty value leaves its field as it was, and so
// does every field after a slash, which ends the group. Once the group's last field is filled
// the rest of its line is skipped. Knows nothing of files: the caller reads the text.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace qtv {

class FreeFormReader {
 public:
  // `fileName` names the text in error reports: "<fileName>:<line>: <what is wrong>".
  FreeFormReader(std::string_view text, std::string fileName);

  // Starts a number group at the current line; `what` ("group 4") names it when the text
  // ends before the group is complete.
  void beginGroup(std::string_view what);
  // Fill the group's next field. An int field takes an optionally signed integer, a real field
  // also a decimal number with an exponent (1.5E3, 1.5d3, 1.5+3), rounded to the nearest float.
  void readInt(std::int32_t& field);
  void readReal(float& field);
  // Ends the group: the rest of the line of its last value is skipped.
  void endGroup();

  using Field = std::variant<std::int32_t*, float*>;
  // A whole group of the given fields, in order.
  void readGroup(std::string_view what, std::initializer_list<Field> fields);

  // The next line without its line end, cut or blank-padded to `length`.
  std::string readTextLine(std::size_t length, std::string_view what);

  // Throws FatalError naming the line of the value read last.
  [[noreturn]] void fail(std::string_view message) const;

 private:
  std::string_view nextValue();
  [[noreturn]] void failAt(std::size_t offset, std::string_view message) const;
  [[noreturn]] void failAtEnd() const;
  [[noreturn]] void failFound(std::string_view expected, std::string_view found) const;
  void skipSpace();

  std::string_view text_;
  std::string fileName_;
  std::size_t position_ = 0;
  std::string what_;
  bool afterValue_ = false;  // a comma now separates rather than leaves an empty value
  bool slashSeen_ = false;
  std::int64_t repeatsLeft_ = 0;
  std::string_view repeatedValue_;  // empty: r empty values
  std::size_t valueOffset_ = 0;     // where the value read last stands, for error lines
};

}  // namespace qtv
