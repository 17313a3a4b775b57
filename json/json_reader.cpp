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

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

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

char JSONTokener::nextSignificant() {
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

std::string JSONTokener::readQuoted(char quote) {
  // Built in a reused buffer, so the returned string is allocated once at
  // its final size.
  std::string& result = scratch_;
  result.clear();
  for (;;) {
    // Copy the run of ordinary characters in one go.
    const size_t n = source_.size();
    // Past the end (a backslash as the last character) nothing is left.
    size_t start = std::min(static_cast<size_t>(position_ - 1), n);
    size_t i = start;
    while (i < n) {
      char c = source_[i];
      if (c == quote || c == '\\' || c == '\n' || c == '\r' || c == '\0') break;
      ++i;
    }
    result.append(source_, start, i - start);
    position_ += static_cast<int32_t>(i - start);
    char c = nextChar();
    if (c == '\0' || c == '\n' || c == '\r') throw parseError("Unterminated string");
    if (c == quote) return std::string(result);
    // A backslash.
    char e = nextChar();
    switch (e) {
      case 'b':
        result += '\b';
        break;
      case 't':
        result += '\t';
        break;
      case 'n':
        result += '\n';
        break;
      case 'f':
        result += '\f';
        break;
      case 'r':
        result += '\r';
        break;
      case 'u': {
        if (position_ + 4 > length()) throw parseError("Substring bounds error");
        const char* hex = source_.data() + position_ - 1;
        int unit = 0;
        for (int k = 0; k < 4 && unit >= 0; ++k) {
          int digit = hexDigit(hex[k]);
          unit = digit < 0 ? -1 : unit * 16 + digit;
        }
        // Four characters that are not all hexadecimal digits fail the
        // way the integer syntax fails.
        if (unit < 0)
          unit = readInteger("$" + nextChars(4));
        else
          position_ += 4;
        if (unit < 256 && kLatin1Units.single[unit]) {
          result += kLatin1Units.bytes[unit];
        } else {
          result += platform::wideToAnsi(static_cast<uint16_t>(unit));
        }
        break;
      }
      default:
        result += e;
    }
  }
}

void JSONTokener::enter() {
  if (depth_ > kMaxDepth) throw parseError("Nesting too deep.");
}

Value JSONTokener::readValue() {
  char c = nextSignificant();
  if (c == '"' || c == '\'') return make<JSONString>(readQuoted(c));
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
  while (code(c) >= 32 && !isBreak(c)) c = nextChar();
  stepBack();
  // The word is what was read before the stopping character, trimmed of
  // characters up to the space.
  size_t end = static_cast<size_t>(position_ - 1);
  if (end > source_.size()) end = source_.size();
  while (start < end && code(source_[start]) <= 32) ++start;
  while (end > start && code(source_[end - 1]) <= 32) --end;
  if (end <= start) throw parseError("Missing value.");
  std::string word = source_.substr(start, end - start);
  if (word.size() == 4 || word.size() == 5) {
    std::string lower = platform::lowerCase(word);
    if (lower == "true") return trueValue();
    if (lower == "false") return falseValue();
    if (lower == "null") return nullValue();
  }
  if (!((first >= '0' && first <= '9') || first == '.' || first == '-' || first == '+')) {
    return make<JSONString>(std::move(word));
  }
  return recogniseWord(word);
}

void JSONTokener::readObjectInto(TJSONObject& object) {
  DepthGuard depth(depth_);
  if (nextSignificant() != '{') throw parseError("A TJSONObject must begin with \"{\"");
  enter();
  object.reserve(4);
  char c = nextSignificant();
  if (c == '\0') throw parseError("A TJSONObject must end with \"}\"");
  if (c == '}') return;
  stepBack();
  for (;;) {
    std::string name;
    c = nextSignificant();
    if (c == '"' || c == '\'') {
      name = readQuoted(c);
    } else {
      stepBack();
      Value key = readValue();
      name = key->asText();
    }
    c = nextSignificant();
    if (c == '=') {
      if (nextChar() != '>') stepBack();
    } else if (c != ':') {
      throw parseError("Expected a \":\" after a key");
    }
    object.append(std::move(name), readValue());
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
  // Small objects are cheaper to check when written.
  if (object.count() > 16) object.checkDistinctNames();
}

void JSONTokener::readArrayInto(TJSONArray& array) {
  DepthGuard depth(depth_);
  if (nextSignificant() != '[') throw parseError("A TJSONArray must start with \"[\"");
  enter();
  if (nextSignificant() == ']') return;
  stepBack();
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
      if (nextSignificant() == ']') return;
      stepBack();
    } else if (c == ']') {
      return;
    } else {
      throw parseError("Expected a \",\" or \"]\"");
    }
  }
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
