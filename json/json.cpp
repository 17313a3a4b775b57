#include "json/json.h"

#include <cstdio>
#include <string_view>
#include <unordered_map>

#include "json/json_number.h"
#include "json/json_reader.h"
#include "platform/text_locale.h"

namespace json {
namespace {

const char kHex[] = "0123456789ABCDEF";

// Bytes written as themselves inside a string literal; the slash is decided
// by the character before it, everything else becomes \uXXXX or a short
// escape.
struct LiteralTable {
  bool literal[256] = {};
  LiteralTable() {
    for (int c = '0'; c <= '9'; ++c) literal[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) literal[c] = true;
    for (int c = 'a'; c <= 'z'; ++c) literal[c] = true;
    for (char c : std::string_view("!$'()*-.@_")) literal[static_cast<unsigned char>(c)] = true;
  }
};
const LiteralTable kLiteral;

// Names made only of these bytes compare by ASCII case folding alone: each
// has its own primary weight in the locale's sort table, no accent and no
// special weight, so the locale's case-insensitive equality of two such
// names is plain ASCII case-insensitive equality.
bool isPlainNameByte(unsigned char c) { return c >= 0x20 && c <= 0x7E && c != '\'' && c != '-'; }

bool isPlainName(const std::string& name) {
  for (unsigned char c : name) {
    if (!isPlainNameByte(c)) return false;
  }
  return true;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool plainNamesEqual(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

std::string quoted(const std::string& name) { return TJSONObject::quoteText(name); }

}  // namespace

// ---- shared constants and ownership -------------------------------------

void ValueDeleter::operator()(TZAbstractObject* value) const {
  if (value && !value->isShared()) delete value;
}

const TZAbstractObject& sharedTrue() {
  static const JSONBoolean instance(true, true);
  return instance;
}
const TZAbstractObject& sharedFalse() {
  static const JSONBoolean instance(false, true);
  return instance;
}
const TZAbstractObject& sharedNull() {
  static const JSONNull instance;
  return instance;
}
Value trueValue() { return Value(const_cast<TZAbstractObject*>(&sharedTrue())); }
Value falseValue() { return Value(const_cast<TZAbstractObject*>(&sharedFalse())); }
Value nullValue() { return Value(const_cast<TZAbstractObject*>(&sharedNull())); }

Value makeString(const std::string& text) { return make<JSONString>(text); }
Value makeInteger(int32_t value) { return make<JSONInteger>(value); }

// ---- TZAbstractObject ---------------------------------------------------

bool TZAbstractObject::sameAs(const TZAbstractObject* other) const { return other == this; }

Value TZAbstractObject::duplicate() const {
  throw NotImplmentedFeature("Rotina N\xe3o Implementada");
}

std::string TZAbstractObject::asText() const {
  char identity[32];
  std::snprintf(identity, sizeof identity, "%0*llX", static_cast<int>(sizeof(void*) * 2),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this)));
  return std::string(className()) + " <" + identity + ">";
}

void TZAbstractObject::appendValueText(std::string& out) const {
  if (sameAs(&sharedNull())) {
    out += "null";
  } else {
    TJSONObject::appendQuoted(out, asText());
  }
}

// ---- scalars ------------------------------------------------------------

JSONInteger::JSONInteger(const std::string& text) : value_(readInteger(text)) {}
Value JSONInteger::duplicate() const { return make<JSONInteger>(value_); }
std::string JSONInteger::asText() const { return std::to_string(value_); }
void JSONInteger::appendValueText(std::string& out) const {
  char buffer[16];
  int n = std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(value_));
  out.append(buffer, static_cast<size_t>(n));
}

int32_t JSONInteger::parseRadix(const std::string& text, int radix) {
  switch (radix) {
    case 10:
      return readInteger(text);
    case 16:
      return hexToInt(text);
    case 8:
      if (text == "0") return 0;
      throw NotImplmentedFeature("Rotina N\xe3o Implementada");
    default:
      return 0;
  }
}

int32_t JSONInteger::hexToInt(const std::string& text) {
  std::string digits = text;
  for (char& c : digits) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  if (!digits.empty() && digits[0] == '$') digits.erase(0, 1);
  if (digits.size() >= 2 && digits[1] == 'X') digits.erase(0, 2);
  if (digits.empty()) throw quelta::ConvertError("'" + text + "' is not a valid integer value");
  uint32_t value = 0;
  for (char c : digits) value = value * 16 + static_cast<uint32_t>(hexDigitValue(c));
  return static_cast<int32_t>(value);
}

int JSONInteger::hexDigitValue(char ch) {
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= '0' && ch <= '9') return ch - '0';
  throw quelta::ConvertError("'" + std::string(1, ch) + "' is not a valid integer value");
}

std::string JSONInteger::hexByte(unsigned char byte) {
  return std::string{kHex[byte >> 4], kHex[byte & 15]};
}

JSONDouble::JSONDouble(const std::string& text) : value_(readDecimal(text)) {}
Value JSONDouble::duplicate() const { return make<JSONDouble>(value_); }
std::string JSONDouble::asText() const { return "\"" + formatTwoDecimals(value_) + "\""; }
int32_t JSONDouble::asInteger() const { return truncToInt32(value_); }

Value JSONBoolean::duplicate() const { return make<JSONBoolean>(value_); }

bool JSONString::sameAs(const TZAbstractObject* other) const {
  auto* text = dynamic_cast<const JSONString*>(other);
  return text && text->text_ == text_;
}
Value JSONString::duplicate() const { return make<JSONString>(text_); }
void JSONString::appendValueText(std::string& out) const { TJSONObject::appendQuoted(out, text_); }
bool JSONString::sameTextAs(const std::string& text) const {
  return text.size() == text_.size() && platform::lowerCase(text_) == platform::lowerCase(text);
}

bool JSONNull::sameAs(const TZAbstractObject* other) const {
  return other == nullptr || dynamic_cast<const JSONNull*>(other) != nullptr;
}

// ---- TJSONObject --------------------------------------------------------

struct TJSONObject::Member {
  std::string name;
  Value value;
};

TJSONObject::TJSONObject() = default;

TJSONObject::TJSONObject(const std::string& text) {
  JSONTokener reader(text);
  reader.readObjectInto(*this);
}

TJSONObject::~TJSONObject() = default;

Value TJSONObject::duplicate() const { return make<TJSONObject>(asText()); }

int TJSONObject::indexOf(const std::string& name) const {
  const bool plain = isPlainName(name);
  for (size_t i = 0; i < members_.size(); ++i) {
    const std::string& candidate = members_[i].name;
    if (candidate == name) return static_cast<int>(i);
    bool equal = plain && isPlainName(candidate) ? plainNamesEqual(candidate, name)
                                                 : platform::sameTextIgnoreCase(candidate, name);
    if (equal) return static_cast<int>(i);
  }
  return -1;
}

bool TJSONObject::contains(const std::string& name) const { return indexOf(name) >= 0; }

TZAbstractObject* TJSONObject::find(const std::string& name) const {
  if (name.empty()) throw NullPointerException("Null key");
  int index = indexOf(name);
  return index < 0 ? nullptr : members_[static_cast<size_t>(index)].value.get();
}

TZAbstractObject& TJSONObject::item(const std::string& name) const {
  TZAbstractObject* value = find(name);
  if (!value) throw NoSuchElementException("TJSONObject[" + quoted(name) + "] not found.");
  return *value;
}

std::string TJSONObject::textOf(const std::string& name) const { return item(name).asText(); }

bool TJSONObject::boolOf(const std::string& name) const {
  const TZAbstractObject& value = item(name);
  // Any _Boolean counts by its value, not only the shared constants: a
  // duplicated or program-made false must not read as "not a Boolean".
  if (auto* flag = dynamic_cast<const JSONBoolean*>(&value)) return flag->value();
  if (auto* text = dynamic_cast<const JSONString*>(&value)) {
    if (text->sameTextAs("false")) return false;
    if (text->sameTextAs("true")) return true;
  }
  throw ClassCastException("TJSONObject[" + quoted(name) + "] is not a Boolean.");
}

double TJSONObject::doubleOf(const std::string& name) const {
  const TZAbstractObject& value = item(name);
  if (auto* number = dynamic_cast<const JSONNumber*>(&value)) return number->asDouble();
  if (auto* text = dynamic_cast<const JSONString*>(&value)) return readDecimal(text->text());
  throw NumberFormatException("TJSONObject[" + quoted(name) + "] is not a number.");
}

int32_t TJSONObject::intOf(const std::string& name) const {
  const TZAbstractObject& value = item(name);
  if (auto* number = dynamic_cast<const JSONNumber*>(&value)) return number->asInteger();
  return roundToInt32(doubleOf(name));
}

TJSONArray& TJSONObject::arrayOf(const std::string& name) const {
  auto* array = dynamic_cast<TJSONArray*>(find(name));
  if (!array)
    throw NoSuchElementException("TJSONObject[" + quoted(name) + "] is not a TJSONArray.");
  return *array;
}

TJSONObject& TJSONObject::objectOf(const std::string& name) const {
  auto* object = dynamic_cast<TJSONObject*>(&item(name));
  if (!object) {
    throw NoSuchElementException("TJSONObject[" + quoted(name) + "] is not a TJSONObject.");
  }
  return *object;
}

TJSONObject& TJSONObject::set(const std::string& name, Value value) {
  if (name.empty()) throw NullPointerException("Null key.");
  if (!value) {
    take(name);  // the removed value is disposed here
    return *this;
  }
  int index = indexOf(name);
  if (index < 0) {
    members_.push_back(Member{name, std::move(value)});
  } else {
    members_[static_cast<size_t>(index)].value = std::move(value);
  }
  return *this;
}

TJSONObject& TJSONObject::setText(const std::string& name, const std::string& text) {
  return set(name, makeString(text));
}

Value TJSONObject::take(const std::string& name) {
  int index = indexOf(name);
  if (index < 0) return Value();
  Value value = std::move(members_[static_cast<size_t>(index)].value);
  members_.erase(members_.begin() + index);
  return value;
}

std::vector<std::string> TJSONObject::names() const {
  std::vector<std::string> list;
  list.reserve(members_.size());
  for (const Member& member : members_) list.push_back(member.name);
  return list;
}

int TJSONObject::count() const { return static_cast<int>(members_.size()); }

void TJSONObject::append(const std::string& name, Value value) {
  members_.push_back(Member{name, std::move(value)});
}

std::string TJSONObject::asText() const {
  std::string out;
  appendValueText(out);
  return out;
}

void TJSONObject::appendValueText(std::string& out) const {
  // Every member is written with the value of the first member whose name
  // compares equal to its own (the lookup rule). Instead of looking each
  // name up again, the first index of each name is found once through a
  // key that is equal exactly when the names compare equal.
  const size_t n = members_.size();
  std::vector<uint32_t> first;
  if (n > 1) {
    first.resize(n);
    bool plain = true;
    for (const Member& member : members_) {
      if (!isPlainName(member.name)) {
        plain = false;
        break;
      }
    }
    std::vector<std::string> keys(n);
    for (size_t i = 0; i < n; ++i) {
      if (plain) {
        keys[i] = members_[i].name;
        for (char& c : keys[i]) c = asciiLower(c);
      } else {
        keys[i] = platform::ignoreCaseKey(members_[i].name);
      }
    }
    if (n <= 8) {
      for (size_t i = 0; i < n; ++i) {
        size_t j = 0;
        while (keys[j] != keys[i]) ++j;
        first[i] = static_cast<uint32_t>(j);
      }
    } else {
      std::unordered_map<std::string_view, uint32_t> seen;
      seen.reserve(n);
      for (size_t i = 0; i < n; ++i) {
        first[i] = seen.emplace(keys[i], static_cast<uint32_t>(i)).first->second;
      }
    }
  }
  out += '{';
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) out += ',';
    appendQuoted(out, members_[i].name);
    out += ':';
    const Value& value = n > 1 ? members_[first[i]].value : members_[i].value;
    if (value) {
      value->appendValueText(out);
    } else {
      out += "null";
    }
  }
  out += '}';
}

std::string TJSONObject::quoteText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  appendQuoted(out, text);
  return out;
}

void TJSONObject::appendQuoted(std::string& out, const std::string& text) {
  out += '"';
  const char* s = text.data();
  const size_t n = text.size();
  size_t run = 0;
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (kLiteral.literal[c]) continue;
    out.append(s + run, i - run);
    run = i + 1;
    switch (c) {
      case 8:
        out += "\\b";
        break;
      case 9:
        out += "\\t";
        break;
      case 10:
        out += "\\n";
        break;
      case 12:
        out += "\\f";
        break;
      case 13:
        out += "\\r";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '/':
        out += i > 0 && s[i - 1] == '<' ? "\\/" : "/";
        break;
      default: {
        char escape[6] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
        out.append(escape, 6);
      }
    }
  }
  out.append(s + run, n - run);
  out += '"';
}

std::string TJSONObject::valueText(const TZAbstractObject* value) {
  if (!value) return "null";
  std::string out;
  value->appendValueText(out);
  return out;
}

// ---- TJSONArray ---------------------------------------------------------

TJSONArray::TJSONArray() = default;

TJSONArray::TJSONArray(const std::string& text) {
  JSONTokener reader(text);
  reader.readArrayInto(*this);
}

TJSONArray::~TJSONArray() = default;

int TJSONArray::count() const { return static_cast<int>(elements_.size()); }

TZAbstractObject* TJSONArray::find(int index) const {
  if (index < 0 || index >= count()) return nullptr;
  return elements_[static_cast<size_t>(index)].get();
}

TZAbstractObject& TJSONArray::item(int index) const {
  TZAbstractObject* value = find(index);
  if (!value) throw NoSuchElementException("TJSONArray[" + std::to_string(index) + "] not found.");
  return *value;
}

std::string TJSONArray::textAt(int index) const { return item(index).asText(); }

TJSONArray& TJSONArray::arrayAt(int index) const {
  auto* array = dynamic_cast<TJSONArray*>(&item(index));
  if (!array) {
    throw NoSuchElementException("TJSONArray[" + std::to_string(index) + "] is not a TJSONArray.");
  }
  return *array;
}

TJSONObject& TJSONArray::objectAt(int index) const {
  TZAbstractObject& value = item(index);
  auto* object = dynamic_cast<TJSONObject*>(&value);
  if (!object) {
    throw NoSuchElementException("TJSONArray[" + std::to_string(index) +
                                 "] is not a TJSONObject is " + value.className());
  }
  return *object;
}

TJSONArray& TJSONArray::add(Value value) {
  elements_.push_back(std::move(value));
  return *this;
}

TJSONArray& TJSONArray::addText(const std::string& text) { return add(makeString(text)); }

std::string TJSONArray::join(const std::string& separator) const {
  std::string out;
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (i > 0) out += separator;
    if (elements_[i]) {
      elements_[i]->appendValueText(out);
    } else {
      out += "null";
    }
  }
  return out;
}

std::string TJSONArray::asText() const {
  std::string out;
  appendValueText(out);
  return out;
}

void TJSONArray::appendValueText(std::string& out) const {
  out += '[';
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (i > 0) out += ',';
    if (elements_[i]) {
      elements_[i]->appendValueText(out);
    } else {
      out += "null";
    }
  }
  out += ']';
}

}  // namespace json
