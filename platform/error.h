// The one error family of the program. Every failure that a caller may show
// or record carries the name of its kind and a message, because the program
// shows errors as "class name - message" (print results, log lines) or as
// the message alone (the application's error box).
#pragma once

#include <stdexcept>
#include <string>

namespace quelta {

class Error : public std::runtime_error {
 public:
  Error(std::string className, const std::string& message)
      : std::runtime_error(message), className_(std::move(className)), message_(message) {}

  const std::string& className() const { return className_; }
  // Every byte of the message: what() ends at the first NUL, and a parse
  // error quotes the text it read, NULs included.
  const std::string& message() const { return message_; }
  // What the application's error box says: the message, or, for a kind
  // the person cannot read as it stands, a line of plain Portuguese first.
  virtual std::string boxText() const { return message_; }

 private:
  std::string className_;
  std::string message_;
};

// A file or device that cannot be opened, read or written.
class IOError : public Error {
 public:
  explicit IOError(const std::string& message) : Error("EInOutError", message) {}
};

// Text that does not convert to the number or date it should hold.
class ConvertError : public Error {
 public:
  explicit ConvertError(const std::string& message) : Error("EConvertError", message) {}
};

// The kind of the error that ends what the person cancelled: it reaches no
// box, as the silent "EAbort" of Windows programs never does.
inline constexpr char kAbortClass[] = "EAbort";
inline bool isAbort(const Error& e) { return e.className() == kAbortClass; }

// "class name - message", the form in which print results and log lines
// record an error.
inline std::string describe(const Error& e) { return e.className() + " - " + e.message(); }

}  // namespace quelta
