// The lenient JSON reader behind the text constructors of TJSONObject and
// TJSONArray: standard JSON plus single-quoted strings, unquoted words,
// comments (#, //, /* */), "=" and "=>" after names, ";" as separator,
// trailing separators and empty array positions.
#pragma once

#include <cstdint>
#include <string>

#include "json/json.h"

namespace json {

class JSONTokener : public TZAbstractObject {
 public:
  // The reader reads the caller's text in place; the text must outlive it.
  explicit JSONTokener(const std::string& text) : source_(text) {}
  explicit JSONTokener(std::string&&) = delete;

  const char* className() const override { return "JSONTokener"; }
  // " at character <position> of <source>"
  std::string asText() const override;

  bool hasMore() const { return position_ <= length() + 1; }
  // The character at the position (code 0 at the end), then one step on.
  char nextChar() {
    if (!hasMore()) return '\0';
    char c = position_ <= length() ? source_[static_cast<size_t>(position_ - 1)] : '\0';
    ++position_;
    return c;
  }
  void stepBack() {
    if (position_ > 1) --position_;
  }
  std::string nextChars(int count);
  char nextSignificant();
  std::string readQuoted(char quote);
  Value readValue();
  ParseException parseError(const std::string& message) const;

  int32_t position() const { return position_; }

  // The object and array grammars, filling a container the caller owns.
  void readObjectInto(TJSONObject& object);
  void readArrayInto(TJSONArray& array);

  // Deeper nesting than this is refused with a ParseException instead of
  // exhausting the stack; no file or reply of the program comes near it.
  static constexpr int kMaxDepth = 200;

 private:
  int32_t length() const { return static_cast<int32_t>(source_.size()); }
  void skipToLineEnd();
  void enter();

  const std::string& source_;
  std::string scratch_;  // the string being read, reused between strings
  int32_t position_ = 1;
  int depth_ = 0;
};

}  // namespace json
