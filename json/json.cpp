#include "json/json.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "json/json_number.h"
#include "json/json_reader.h"
#include "platform/text_locale.h"

namespace json {
namespace {

const char kHex[] = "0123456789ABCDEF";

// How each byte is written inside a string literal: itself for the safe
// characters, a short escape or \u00XX for the rest. The slash is written
// as itself here; after a "<" the writer escapes it.
struct Escape {
  char text[7];
  uint8_t length;
};
struct EscapeTable {
  Escape escapes[256];
  EscapeTable() {
    for (int c = 0; c < 256; ++c) {
      Escape& e = escapes[c];
      e = Escape{{'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15], 0}, 6};
      bool literal =
          (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
          std::string_view("!$'()*-.@_/").find(static_cast<char>(c)) != std::string_view::npos;
      if (literal) e = Escape{{static_cast<char>(c)}, 1};
    }
    const char shortForms[][2] = {{8, 'b'},  {9, 't'},   {10, 'n'},   {12, 'f'},
                                  {13, 'r'}, {'"', '"'}, {'\\', '\\'}};
    for (const auto& form : shortForms) {
      escapes[static_cast<unsigned char>(form[0])] = Escape{{'\\', form[1]}, 2};
    }
  }
};
const EscapeTable kEscapes;

// The writers fill one buffer sized from the last text this thread wrote,
// so a whole table goes into a single allocation. The per-thread state is a
// plain size: threads end often in the print service, and their exit must
// not have buffers to free.
template <class Write>
std::string writeText(Write&& write) {
  thread_local size_t lastSize = 0;
  TextBuffer buffer;
  if (lastSize > 0) buffer.reserve(lastSize + lastSize / 8);
  write(buffer);
  lastSize = buffer.size();
  return std::string(buffer.data(), buffer.size());
}

uint64_t hashBytes(const std::string& text, bool foldAscii) {
  uint64_t h = 1469598103934665603ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(foldAscii && c >= 'A' && c <= 'Z' ? c + 32 : c);
    h *= 1099511628211ull;
  }
  return h ^ (h >> 29);
}

// Names made only of these bytes compare by ASCII case folding alone: each
// has its own primary weight in the locale's sort table, no accent and no
// special weight, so the locale's case-insensitive equality of two such
// names is plain ASCII case-insensitive equality.
struct PlainNameBytes {
  bool plain[256] = {};
  PlainNameBytes() {
    for (int c = 0x20; c <= 0x7E; ++c) plain[c] = c != '\'' && c != '-';
  }
};
const PlainNameBytes kPlainNameBytes;

bool isPlainName(const std::string& name) {
  for (unsigned char c : name) {
    if (!kPlainNameBytes.plain[c]) return false;
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

void TZAbstractObject::writeJson(TextBuffer& out) const {
  if (sameAs(&sharedNull())) {
    out.append("null", 4);
  } else {
    TJSONObject::writeQuoted(out, asText());
  }
}

void TextBuffer::grow(size_t count) {
  size_t used = size();
  size_t capacity = static_cast<size_t>(end_ - data_.get());
  size_t wanted = std::max({capacity * 2, used + count, size_t{256}});
  std::unique_ptr<char[]> bigger(new char[wanted]);
  if (used) std::memcpy(bigger.get(), data_.get(), used);
  data_ = std::move(bigger);
  pos_ = data_.get() + used;
  end_ = data_.get() + wanted;
}

void TextBuffer::append(const char* text, size_t count) {
  char* p = reserve(count);
  if (count) std::memcpy(p, text, count);
  pos_ = p + count;
}

// ---- scalars ------------------------------------------------------------

JSONInteger::JSONInteger(const std::string& text) : value_(readInteger(text)) {}
Value JSONInteger::duplicate() const { return make<JSONInteger>(value_); }
std::string JSONInteger::asText() const { return std::to_string(value_); }
void JSONInteger::writeJson(TextBuffer& out) const {
  char* p = out.reserve(12);
  out.commit(std::to_chars(p, p + 12, value_).ptr);
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
void JSONDouble::writeJson(TextBuffer& out) const { out.append(asText()); }

void JSONBoolean::writeJson(TextBuffer& out) const {
  if (value_) {
    out.append("true", 4);
  } else {
    out.append("false", 5);
  }
}

void JSONNull::writeJson(TextBuffer& out) const { out.append("null", 4); }

Value JSONBoolean::duplicate() const { return make<JSONBoolean>(value_); }

bool JSONString::sameAs(const TZAbstractObject* other) const {
  auto* text = dynamic_cast<const JSONString*>(other);
  return text && text->text_ == text_;
}
Value JSONString::duplicate() const { return make<JSONString>(text_); }
void JSONString::writeJson(TextBuffer& out) const { TJSONObject::writeQuoted(out, text_); }
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
  distinct_ = distinct_ && members_.empty();
  members_.push_back(Member{name, std::move(value)});
}

void TJSONObject::append(std::string&& name, Value value) {
  distinct_ = distinct_ && members_.empty();
  members_.push_back(Member{std::move(name), std::move(value)});
}

std::string TJSONObject::asText() const {
  return writeText([this](TextBuffer& out) { writeJson(out); });
}

bool TJSONObject::findFirstEqual(uint32_t* first) const {
  // Each member's first equal is found once: by pairs for
  // small objects, through a hash of a key that is equal exactly when the
  // names compare equal for large ones.
  const size_t n = members_.size();
  bool plain = true;
  for (size_t i = 0; i < n && plain; ++i) plain = isPlainName(members_[i].name);
  std::vector<std::string> keys;
  if (!plain) {
    keys.reserve(n);
    for (const Member& member : members_) keys.push_back(platform::ignoreCaseKey(member.name));
  }
  auto equal = [&](size_t a, size_t b) {
    return plain ? plainNamesEqual(members_[a].name, members_[b].name) : keys[a] == keys[b];
  };
  bool any = false;
  if (n <= 16) {
    for (size_t i = 0; i < n; ++i) {
      first[i] = static_cast<uint32_t>(i);
      for (size_t j = 0; j < i; ++j) {
        if (first[j] == j && equal(j, i)) {
          first[i] = static_cast<uint32_t>(j);
          any = true;
          break;
        }
      }
    }
    return any;
  }
  // Open addressing; each slot holds 32 bits of the hash beside the member
  // index, so most probes settle without touching the names.
  size_t capacity = 32;
  while (capacity < n + n / 2) capacity *= 2;
  const size_t mask = capacity - 1;
  std::vector<uint64_t> slots(capacity, 0);
  for (size_t i = 0; i < n; ++i) {
    uint64_t h = plain ? hashBytes(members_[i].name, true) : hashBytes(keys[i], false);
    uint32_t print = static_cast<uint32_t>(h >> 32) | 1u;  // never 0: 0 marks a free slot
    size_t slot = static_cast<size_t>(h) & mask;
    first[i] = static_cast<uint32_t>(i);
    for (; slots[slot] != 0; slot = (slot + 1) & mask) {
      uint32_t other = static_cast<uint32_t>(slots[slot]);
      if (static_cast<uint32_t>(slots[slot] >> 32) == print && equal(other, i)) {
        first[i] = other;
        any = true;
        break;
      }
    }
    if (first[i] == i) slots[slot] = (static_cast<uint64_t>(print) << 32) | i;
  }
  return any;
}

void TJSONObject::reserve(int count) { members_.reserve(static_cast<size_t>(count)); }

Value& TJSONObject::appendSlot(const char* name, size_t length) {
  distinct_ = distinct_ && members_.empty();
  Member& member = members_.emplace_back();
  member.name.assign(name, length);  // built in place, copied once
  return member.value;
}

void TJSONObject::checkDistinctNames() {
  const size_t n = members_.size();
  if (distinct_ || n < 2) {
    distinct_ = true;
    return;
  }
  // The usual record: a few plain names, which can only compare equal
  // when their lengths are equal.
  if (n <= 16 && std::all_of(members_.begin(), members_.end(),
                             [](const Member& m) { return isPlainName(m.name); })) {
    for (size_t i = 1; i < n; ++i) {
      for (size_t j = 0; j < i; ++j) {
        if (plainNamesEqual(members_[i].name, members_[j].name)) return;
      }
    }
    distinct_ = true;
    return;
  }
  std::vector<uint32_t> first(n);
  distinct_ = !findFirstEqual(first.data());
}

void TJSONObject::writeJson(TextBuffer& out) const {
  // Every member is written with the value of the first member whose name
  // compares equal to its own (the lookup rule), found once for all
  // members instead of by looking each name up again.
  const size_t n = members_.size();
  uint32_t few[16];
  std::vector<uint32_t> many;
  uint32_t* first = nullptr;
  if (!distinct_ && n > 1) {
    if (n > 16) many.resize(n);
    uint32_t* table = n > 16 ? many.data() : few;
    if (findFirstEqual(table)) first = table;
  }
  out.put('{');
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) out.put(',');
    writeQuoted(out, members_[i].name);
    out.put(':');
    const Value& value = first ? members_[first[i]].value : members_[i].value;
    if (value) {
      value->writeJson(out);
    } else {
      out.append("null", 4);
    }
  }
  out.put('}');
}

std::string TJSONObject::quoteText(const std::string& text) {
  TextBuffer out;
  writeQuoted(out, text);
  return std::string(out.data(), out.size());
}

void TJSONObject::writeQuoted(TextBuffer& out, const std::string& text) {
  const size_t n = text.size();
  // Six bytes at most per character, two quotes, and room for the
  // eight-byte copies of the table entries.
  char* p = out.reserve(n * 6 + 2 + sizeof(Escape));
  *p++ = '"';
  const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
  for (size_t i = 0; i < n; ++i) {
    const Escape& e = kEscapes.escapes[s[i]];
    std::memcpy(p, &e, sizeof e);
    p += e.length;
    if (s[i] == '/' && i > 0 && s[i - 1] == '<') {
      p[-1] = '\\';
      *p++ = '/';
    }
  }
  *p++ = '"';
  out.commit(p);
}

std::string TJSONObject::valueText(const TZAbstractObject* value) {
  if (!value) return "null";
  return writeText([value](TextBuffer& out) { value->writeJson(out); });
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

void TJSONArray::reserve(int count) { elements_.reserve(static_cast<size_t>(count)); }

TJSONArray& TJSONArray::addText(const std::string& text) { return add(makeString(text)); }

std::string TJSONArray::join(const std::string& separator) const {
  return writeText([&](TextBuffer& out) {
    for (size_t i = 0; i < elements_.size(); ++i) {
      if (i > 0) out.append(separator);
      if (elements_[i]) {
        elements_[i]->writeJson(out);
      } else {
        out.append("null", 4);
      }
    }
  });
}

std::string TJSONArray::asText() const {
  return writeText([this](TextBuffer& out) { writeJson(out); });
}

void TJSONArray::writeJson(TextBuffer& out) const {
  out.put('[');
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (i > 0) out.put(',');
    if (elements_[i]) {
      elements_[i]->writeJson(out);
    } else {
      out.append("null", 4);
    }
  }
  out.put(']');
}

}  // namespace json
