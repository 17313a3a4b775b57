// JSON values: the value model every table file, queue file and network
// reply goes through, its accessors with their exact failure messages, and
// the exact text form the files are written in. Reading text is json_reader.
//
// Names follow the class names the program reports. Where such a name is
// not a legal C++ identifier (NULL is a macro; _Number and friends are
// reserved), the class has a close legal name and className() reports the
// original one, since messages such as
// "TJSONArray[0] is not a TJSONObject is _String" must read exactly so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/error.h"

namespace json {

class TZAbstractObject;
class TJSONObject;
class TJSONArray;

// The growing output of the text writers: room is reserved ahead and
// filled through a pointer, so writing a character costs no size check.
class TextBuffer {
 public:
  TextBuffer() = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

  // At least `count` writable bytes at the returned pointer; hand the
  // pointer past the last byte written back to commit().
  char* reserve(size_t count) {
    if (static_cast<size_t>(end_ - pos_) < count) grow(count);
    return pos_;
  }
  void commit(char* end) { pos_ = end; }
  void append(const char* text, size_t count);
  void append(const std::string& text) { append(text.data(), text.size()); }
  void put(char c) { *reserve(1) = c, ++pos_; }
  size_t size() const { return static_cast<size_t>(pos_ - data_.get()); }
  const char* data() const { return data_.get(); }
  void clear() { pos_ = data_.get(); }

 private:
  void grow(size_t count);
  std::unique_ptr<char[]> data_;
  char* pos_ = nullptr;
  char* end_ = nullptr;
};

// Disposes a value unless it is one of the three shared constants, which no
// container ever disposes.
struct ValueDeleter {
  void operator()(TZAbstractObject* value) const;
};
using Value = std::unique_ptr<TZAbstractObject, ValueDeleter>;

// ---- exceptions --------------------------------------------------------

#define JSON_EXCEPTION(Name)                                                     \
  class Name : public quelta::Error {                                            \
   public:                                                                       \
    explicit Name(const std::string& message) : quelta::Error(#Name, message) {} \
  }
JSON_EXCEPTION(ClassCastException);
JSON_EXCEPTION(NoSuchElementException);
JSON_EXCEPTION(NumberFormatException);
JSON_EXCEPTION(NullPointerException);
JSON_EXCEPTION(NotImplmentedFeature);  // spelled so
JSON_EXCEPTION(ParseException);
#undef JSON_EXCEPTION

// ---- values ------------------------------------------------------------

class TZAbstractObject {
 public:
  virtual ~TZAbstractObject() = default;
  TZAbstractObject(const TZAbstractObject&) = delete;
  TZAbstractObject& operator=(const TZAbstractObject&) = delete;

  // The class name the library reports ("_String", "TJSONObject", ...).
  virtual const char* className() const { return "TZAbstractObject"; }

  virtual bool sameAs(const TZAbstractObject* other) const;
  virtual Value duplicate() const;
  virtual std::string asText() const;

  // Writes this value's text as it stands inside a container, that is
  // TJSONObject::valueText(this), straight into the writer's buffer.
  virtual void writeJson(TextBuffer& out) const;

  // True for the shared true, false and null constants.
  bool isShared() const { return shared_; }

 protected:
  TZAbstractObject() = default;
  void markShared() { shared_ = true; }

 private:
  bool shared_ = false;
};

class JSONNumber : public TZAbstractObject {  // reported as _Number
 public:
  const char* className() const override { return "_Number"; }
  virtual double asDouble() const = 0;
  virtual int32_t asInteger() const = 0;
};

class JSONInteger : public JSONNumber {  // reported as _Integer
 public:
  explicit JSONInteger(int32_t value) : value_(value) {}
  // Reads the integer syntax; fails with ConvertError
  // "'<text>' is not a valid integer value".
  explicit JSONInteger(const std::string& text);
  const char* className() const override { return "_Integer"; }
  Value duplicate() const override;
  std::string asText() const override;
  void writeJson(TextBuffer& out) const override;
  double asDouble() const override { return value_; }
  int32_t asInteger() const override { return value_; }

  // Class-level number helpers of the reader.
  static int32_t parseRadix(const std::string& text, int radix);
  static int32_t hexToInt(const std::string& text);
  static int hexDigitValue(char ch);
  static std::string hexByte(unsigned char byte);

 private:
  int32_t value_;
};

class JSONDouble : public JSONNumber {  // reported as _Double
 public:
  explicit JSONDouble(double value) : value_(value) {}
  // Reads the decimal syntax with "." as separator; fails with ConvertError
  // "'<text>' is not a valid floating point value".
  explicit JSONDouble(const std::string& text);
  const char* className() const override { return "_Double"; }
  Value duplicate() const override;
  std::string asText() const override;  // "######0.00" between double quotes
  void writeJson(TextBuffer& out) const override;
  double asDouble() const override { return value_; }
  int32_t asInteger() const override;

 private:
  double value_;
};

class JSONBoolean : public TZAbstractObject {  // reported as _Boolean
 public:
  explicit JSONBoolean(bool value) : value_(value) {}
  const char* className() const override { return "_Boolean"; }
  Value duplicate() const override;
  std::string asText() const override { return value_ ? "true" : "false"; }
  void writeJson(TextBuffer& out) const override;
  bool value() const { return value_; }

 private:
  friend const TZAbstractObject& sharedTrue();
  friend const TZAbstractObject& sharedFalse();
  JSONBoolean(bool value, bool shared) : value_(value) {
    if (shared) markShared();
  }
  bool value_;
};

class JSONString : public TZAbstractObject {  // reported as _String
 public:
  explicit JSONString(std::string text) : text_(std::move(text)) {}
  const char* className() const override { return "_String"; }
  bool sameAs(const TZAbstractObject* other) const override;
  Value duplicate() const override;
  std::string asText() const override { return text_; }
  void writeJson(TextBuffer& out) const override;
  // Equal after lower-casing both under the user locale.
  bool sameTextAs(const std::string& text) const;
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class JSONNull : public TZAbstractObject {  // reported as NULL
 public:
  const char* className() const override { return "NULL"; }
  bool sameAs(const TZAbstractObject* other) const override;
  std::string asText() const override { return "null"; }
  void writeJson(TextBuffer& out) const override;

 private:
  friend const TZAbstractObject& sharedNull();
  JSONNull() { markShared(); }
};

// The shared constants the reader returns for true, false and null.
const TZAbstractObject& sharedTrue();
const TZAbstractObject& sharedFalse();
const TZAbstractObject& sharedNull();
// A container slot for a shared constant (its deleter never disposes it).
Value trueValue();
Value falseValue();
Value nullValue();

class TJSONObject : public TZAbstractObject {
 public:
  TJSONObject();
  // Reads one object from JSON text; text after its "}" is not examined.
  explicit TJSONObject(const std::string& text);
  ~TJSONObject() override;

  const char* className() const override { return "TJSONObject"; }
  Value duplicate() const override;
  std::string asText() const override;
  void writeJson(TextBuffer& out) const override;

  bool contains(const std::string& name) const;
  TZAbstractObject* find(const std::string& name) const;
  TZAbstractObject& item(const std::string& name) const;
  std::string textOf(const std::string& name) const;
  bool boolOf(const std::string& name) const;
  int32_t intOf(const std::string& name) const;
  double doubleOf(const std::string& name) const;
  TJSONArray& arrayOf(const std::string& name) const;
  TJSONObject& objectOf(const std::string& name) const;

  TJSONObject& set(const std::string& name, Value value);
  TJSONObject& setText(const std::string& name, const std::string& text);
  Value take(const std::string& name);
  std::vector<std::string> names() const;
  int count() const;

  // Appends without looking for an equal name: the reader's way of adding.
  void append(const std::string& name, Value value);
  void append(std::string&& name, Value value);
  // Finds out once whether any two member names compare equal, so that
  // writing the object need not (the reader calls it for large objects).
  void checkDistinctNames();
  // Room for this many members without growing.
  void reserve(int count);
  // The reader's way of adding: appends a member named by the `length`
  // bytes at `name`, without looking for an equal name, and gives the slot
  // its value is then read into.
  Value& appendSlot(const char* name, std::size_t length);

  static std::string quoteText(const std::string& text);
  static std::string valueText(const TZAbstractObject* value);
  // quoteText written into the buffer.
  static void writeQuoted(TextBuffer& out, const std::string& text);

 private:
  struct Member;
  std::vector<Member> members_;
  // True while no two member names are known to compare equal; set keeps
  // it, an unchecked append clears it.
  bool distinct_ = true;
  int indexOf(const std::string& name) const;
  // For each member, the index of the first member whose name compares
  // equal to its own; false when that is every member itself.
  bool findFirstEqual(uint32_t* first) const;
};

class TJSONArray : public TZAbstractObject {
 public:
  TJSONArray();
  // Reads one array from JSON text; text after its "]" is not examined.
  explicit TJSONArray(const std::string& text);
  ~TJSONArray() override;

  const char* className() const override { return "TJSONArray"; }
  std::string asText() const override;
  void writeJson(TextBuffer& out) const override;

  int count() const;
  TZAbstractObject* find(int index) const;
  TZAbstractObject& item(int index) const;
  std::string textAt(int index) const;
  TJSONArray& arrayAt(int index) const;
  TJSONObject& objectAt(int index) const;
  TJSONArray& add(Value value);  // value may be empty (an absent element)
  TJSONArray& addText(const std::string& text);
  // Room for this many elements without growing.
  void reserve(int count);
  std::string join(const std::string& separator) const;

 private:
  std::vector<Value> elements_;
};

// Convenience constructors of owned values.
Value makeString(const std::string& text);
Value makeInteger(int32_t value);
template <class T, class... Args>
std::unique_ptr<T, ValueDeleter> make(Args&&... args) {
  return std::unique_ptr<T, ValueDeleter>(new T(std::forward<Args>(args)...));
}

}  // namespace json
