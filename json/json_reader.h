// The lenient JSON reader behind the text constructors of TJSONObject and
// TJSONArray: standard JSON plus single-quoted strings, unquoted words,
// comments (#, //, /* */), "=" and "=>" after names, ";" as separator,
// trailing separators and empty array positions.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  char nextSignificant() {
    // Most calls meet the character they return at once.
    if (position_ <= length()) {
      char c = source_[static_cast<size_t>(position_ - 1)];
      if (static_cast<unsigned char>(c) > 32 && c != '#' && c != '/') {
        ++position_;
        return c;
      }
    }
    return skipToSignificant();
  }
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
  char skipToSignificant();
  void enter();
  // Reads a string literal's body into scratch_ and gives its length.
  size_t readQuotedBody(char quote);
  char* growScratch(size_t used);
  // Room to reserve in a container read at the current depth: the size of
  // the last one read there (records of a table are alike).
  size_t expectedCount() const;
  void rememberCount(size_t count);

  const std::string& source_;
  // The string being read, reused between strings.
  std::unique_ptr<char[]> scratch_;
  size_t scratchSize_ = 0;
  // Member or element count of the last container read at each depth.
  std::vector<uint32_t> counts_;
  int32_t position_ = 1;
  int depth_ = 0;
};

}  // namespace json
