#include "json/json_reader.h"

#include <algorithm>
#include <cstring>

#include "json/json_number.h"
#include "platform/text_locale.h"

namespace json {
namespace {

bool isBreak(char c) {
  switch (c) {
    case ',':
    case ':':
    case ']':
    case '}':
    case '/':
    case '\\':
    case '"':
    case '[':
    case '{':
    case ';':
    case '=':
    case '#':
      return true;
    default:
      return false;
  }
}

unsigned char code(char c) { return static_cast<unsigned char>(c); }

// Each byte's value as a hexadecimal digit, -1 for the rest.
struct HexDigits {
  int8_t values[256];
  HexDigits() {
    for (int c = 0; c < 256; ++c) {
      values[c] = static_cast<int8_t>(c >= '0' && c <= '9'   ? c - '0'
                                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                             : -1);
    }
  }
};
const HexDigits kHexDigits;

int hexDigit(char c) { return kHexDigits.values[static_cast<unsigned char>(c)]; }

// The code page's byte for each code unit below 256, asked of the locale
// once: the files escape every space and accented letter this way.
struct Latin1Units {
  char bytes[256];
  bool single[256];  // false where the code page needs more than one byte
  Latin1Units() {
    for (int unit = 0; unit < 256; ++unit) {
      std::string converted = platform::wideToAnsi(static_cast<uint16_t>(unit));
      single[unit] = converted.size() == 1;
      bytes[unit] = single[unit] ? converted[0] : '?';
    }
  }
};
const Latin1Units kLatin1Units;

// Depth of the containers being read, undone on every way out.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }

 private:
  int& depth_;
};

// Number recognition of a word that starts with a digit, ".", "-" or "+";
// each step that does not apply hands over to the next, the last gives the
// word as a string.
Value recogniseWord(const std::string& word) {
  int32_t integer;
  if (word[0] == '0' && word.size() > 2 && (word[1] == 'x' || word[1] == 'X')) {
    try {
      return make<JSONInteger>(JSONInteger::parseRadix(word.substr(2), 16));
    } catch (const quelta::Error&) {
    }
  } else if (word == "0") {
    return make<JSONInteger>(0);
  }
  if (tryReadInteger(word, integer)) return make<JSONInteger>(integer);
  double decimal;
  if (tryReadDecimal(word, decimal)) return make<JSONDouble>(decimal);
  return make<JSONString>(word);
}

// Where a string literal's run of ordinary characters stops, for each
// quote: at the quote, a backslash, a line break or the end of the text.
struct StringStops {
  bool doubleQuote[256] = {};
  bool apostrophe[256] = {};
  StringStops() {
    for (unsigned char c : {'\\', '\n', '\r', '\0'}) doubleQuote[c] = apostrophe[c] = true;
    doubleQuote[static_cast<unsigned char>('"')] = true;
    apostrophe[static_cast<unsigned char>('\'')] = true;
  }
};
const StringStops kStringStops;

}  // namespace

std::string JSONTokener::asText() const {
  return " at character " + std::to_string(position_) + " of " + source_;
}

std::string JSONTokener::nextChars(int count) {
  if (position_ + count > length()) throw parseError("Substring bounds error");
  std::string chars =
      source_.substr(static_cast<size_t>(position_ - 1), static_cast<size_t>(count));
  position_ += count;
  return chars;
}

void JSONTokener::skipToLineEnd() {
  for (;;) {
    char c = nextChar();
    if (c == '\0' || c == '\n' || c == '\r') return;
  }
}

char JSONTokener::skipToSignificant() {
  for (;;) {
    char c = nextChar();
    if (code(c) >= 1 && code(c) <= 32) continue;
    if (c == '#') {
      skipToLineEnd();
      continue;
    }
    if (c == '/') {
      char d = nextChar();
      if (d == '/') {
        skipToLineEnd();
        continue;
      }
      if (d == '*') {
        for (;;) {
          char e = nextChar();
          if (e == '\0') throw parseError("Unclosed comment.");
          if (e == '*') {
            if (nextChar() == '/') break;
            stepBack();
          }
        }
        continue;
      }
      stepBack();
      return '/';
    }
    return c;
  }
}

char* JSONTokener::growScratch(size_t used) {
  size_t size = std::max<size_t>(256, scratchSize_ * 2);
  std::unique_ptr<char[]> bigger(new char[size]);
  if (used) std::memcpy(bigger.get(), scratch_.get(), used);
  scratch_ = std::move(bigger);
  scratchSize_ = size;
  return scratch_.get();
}

size_t JSONTokener::readQuotedBody(char quote) {
  // Works on an index of its own and sets the position where it leaves:
  // past the closing quote, or where the reading rules place an error.
  const char* const s = source_.c_str();
  const size_t n = source_.size();
  const bool* stops = quote == '"' ? kStringStops.doubleQuote : kStringStops.apostrophe;
  // Past the end (a backslash as the last character) nothing is left.
  size_t i = std::min(static_cast<size_t>(position_ - 1), n);
  char* out = scratch_.get();
  size_t used = 0;
  auto put = [&](char c) {
    if (used == scratchSize_) out = growScratch(used);
    out[used++] = c;
  };
  for (;;) {
    // The run of ordinary characters; the text's terminating NUL stops it
    // at the end at the latest.
    for (;;) {
      size_t room = scratchSize_ - used;
      while (room && !stops[code(s[i])]) out[used++] = s[i++], --room;
      if (room) break;
      out = growScratch(used);
    }
    const char c = s[i];
    if (c == quote) {
      position_ = static_cast<int32_t>(i + 2);
      return used;
    }
    if (c != '\\' || i + 1 == n) {
      // A line break, a NUL or the end; a backslash as the last character
      // reads the end marker as its escape, and then the end.
      position_ = static_cast<int32_t>(c == '\\' ? n + 2 : i + 2);
      throw parseError("Unterminated string");
    }
    const char e = s[i + 1];
    i += 2;
    switch (e) {
      case 'b':
        put('\b');
        break;
      case 't':
        put('\t');
        break;
      case 'n':
        put('\n');
        break;
      case 'f':
        put('\f');
        break;
      case 'r':
        put('\r');
        break;
      case 'u': {
        position_ = static_cast<int32_t>(i + 1);
        if (position_ + 4 > length()) throw parseError("Substring bounds error");
        int unit = 0;
        for (int k = 0; k < 4 && unit >= 0; ++k) {
          int digit = hexDigit(s[i + static_cast<size_t>(k)]);
          unit = digit < 0 ? -1 : unit * 16 + digit;
        }
        // Four characters that are not all hexadecimal digits fail the
        // way the integer syntax fails.
        if (unit < 0) unit = readInteger("$" + nextChars(4));
        i += 4;
        if (unit < 256 && kLatin1Units.single[unit]) {
          put(kLatin1Units.bytes[unit]);
        } else {
          for (char b : platform::wideToAnsi(static_cast<uint16_t>(unit))) put(b);
        }
        break;
      }
      default:
        put(e);
    }
  }
}

std::string JSONTokener::readQuoted(char quote) {
  size_t length = readQuotedBody(quote);
  return std::string(scratch_.get(), length);
}

void JSONTokener::enter() {
  if (depth_ > kMaxDepth) throw parseError("Nesting too deep.");
}

Value JSONTokener::readValue() {
  char c = nextSignificant();
  if (c == '"' || c == '\'') {
    size_t length = readQuotedBody(c);
    return make<JSONString>(std::string(scratch_.get(), length));
  }
  if (c == '{') {
    stepBack();
    auto object = make<TJSONObject>();
    readObjectInto(*object);
    return object;
  }
  if (c == '[') {
    stepBack();
    auto array = make<TJSONArray>();
    readArrayInto(*array);
    return array;
  }
  const char first = c;
  size_t start = static_cast<size_t>(position_ - 2);
  if (code(c) >= 32 && !isBreak(c)) {
    // Up to the character that stops the word, which is read again; the
    // text's terminating NUL stops it at the end.
    const char* s = source_.c_str();
    size_t i = static_cast<size_t>(position_ - 1);
    while (code(s[i]) >= 32 && !isBreak(s[i])) ++i;
    position_ = static_cast<int32_t>(i + 1);
  } else {
    stepBack();
  }
  // The word is what was read before the stopping character, trimmed of
  // characters up to the space.
  size_t end = static_cast<size_t>(position_ - 1);
  if (end > source_.size()) end = source_.size();
  while (start < end && code(source_[start]) <= 32) ++start;
  while (end > start && code(source_[end - 1]) <= 32) --end;
  if (end <= start) throw parseError("Missing value.");
  std::string word = source_.substr(start, end - start);
  const bool numeric =
      (first >= '0' && first <= '9') || first == '.' || first == '-' || first == '+';
  // A word that starts like a number cannot lower-case to true, false or
  // null.
  if (!numeric && (word.size() == 4 || word.size() == 5)) {
    std::string lower = platform::lowerCase(word);
    if (lower == "true") return trueValue();
    if (lower == "false") return falseValue();
    if (lower == "null") return nullValue();
  }
  if (!numeric) return make<JSONString>(std::move(word));
  return recogniseWord(word);
}

size_t JSONTokener::expectedCount() const {
  size_t depth = static_cast<size_t>(depth_);
  // Bounded, so that one huge container does not make every later one at
  // its depth reserve as much.
  return depth < counts_.size() ? std::min<size_t>(counts_[depth], 64) : 4;
}

void JSONTokener::rememberCount(size_t count) {
  size_t depth = static_cast<size_t>(depth_);
  if (depth >= counts_.size()) counts_.resize(depth + 1, 4);
  counts_[depth] = static_cast<uint32_t>(std::min<size_t>(count, UINT32_MAX));
}

void JSONTokener::readObjectInto(TJSONObject& object) {
  DepthGuard depth(depth_);
  if (nextSignificant() != '{') throw parseError("A TJSONObject must begin with \"{\"");
  enter();
  char c = nextSignificant();
  if (c == '\0') throw parseError("A TJSONObject must end with \"}\"");
  if (c == '}') return;
  stepBack();
  object.reserve(static_cast<int>(expectedCount()));
  for (;;) {
    c = nextSignificant();
    Value* slot;
    if (c == '"' || c == '\'') {
      size_t length = readQuotedBody(c);
      slot = &object.appendSlot(scratch_.get(), length);
    } else {
      stepBack();
      Value key = readValue();
      std::string name = key->asText();
      slot = &object.appendSlot(name.data(), name.size());
    }
    c = nextSignificant();
    if (c == '=') {
      if (nextChar() != '>') stepBack();
    } else if (c != ':') {
      throw parseError("Expected a \":\" after a key");
    }
    // The member's own slot: nothing is added to this object meanwhile.
    *slot = readValue();
    c = nextSignificant();
    if (c == ',' || c == ';') {
      if (nextSignificant() == '}') break;
      stepBack();
    } else if (c == '}') {
      break;
    } else {
      throw parseError("Expected a \",\" or \"}\"");
    }
  }
  rememberCount(static_cast<size_t>(object.count()));
  object.checkDistinctNames();
}

void JSONTokener::readArrayInto(TJSONArray& array) {
  DepthGuard depth(depth_);
  if (nextSignificant() != '[') throw parseError("A TJSONArray must start with \"[\"");
  enter();
  if (nextSignificant() == ']') return;
  stepBack();
  array.reserve(static_cast<int>(expectedCount()));
  for (;;) {
    if (nextSignificant() == ',') {
      stepBack();
      array.add(Value());
    } else {
      stepBack();
      array.add(readValue());
    }
    char c = nextSignificant();
    if (c == ',' || c == ';') {
      if (nextSignificant() == ']') break;
      stepBack();
    } else if (c == ']') {
      break;
    } else {
      throw parseError("Expected a \",\" or \"]\"");
    }
  }
  rememberCount(static_cast<size_t>(array.count()));
}

ParseException JSONTokener::parseError(const std::string& message) const {
  std::string text = message;
  text += asText();
  text += " pr\xf3ximo a : ";
  size_t at = static_cast<size_t>(position_ - 1);
  if (at < source_.size()) text.append(source_, at, 10);
  text += "\n\r erro no caracter : ";
  text += std::to_string(position_);
  return ParseException(text);
}

}  // namespace json
