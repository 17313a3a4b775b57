// Arbitrary bytes into both text constructors. Whatever parses is written,
// read back and written again: the writer's text must always read, and
// after one trip the text must be stable. The accessors and number readers
// get the same bytes. A failure must be a quelta::Error, never a crash.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "json/json.h"
#include "json/json_number.h"
#include "platform/text_locale.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

template <class Container>
void writeAndReread(const Container& parsed) {
  std::string first = parsed.asText();
  std::string second = Container(first).asText();
  check(Container(second).asText() == second);
}

void touchMembers(const json::TJSONObject& object) {
  for (const std::string& name : object.names()) {
    try {
      object.textOf(name);
      object.contains(name);
    } catch (const quelta::Error&) {
    }
    try {
      object.boolOf(name);
    } catch (const quelta::Error&) {
    }
    try {
      object.intOf(name);
    } catch (const quelta::Error&) {
    }
    try {
      object.arrayOf(name).count();
    } catch (const quelta::Error&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    json::TJSONObject object(text);
    touchMembers(object);
    writeAndReread(object);
  } catch (const quelta::Error&) {
  }
  try {
    json::TJSONArray array(text);
    for (int i = 0; i < array.count(); ++i) {
      if (auto* object = dynamic_cast<json::TJSONObject*>(array.find(i))) touchMembers(*object);
    }
    writeAndReread(array);
  } catch (const quelta::Error&) {
  }
  if (size <= 64) {
    int32_t integer;
    double decimal;
    if (json::tryReadInteger(text, integer)) check(json::readInteger(text) == integer);
    if (json::tryReadDecimal(text, decimal)) {
      std::string shown = json::formatTwoDecimals(decimal);
      check(shown == "0.00" || json::tryReadDecimal(shown, decimal));
    }
    platform::utf8ToAnsi(text);
    platform::compareText(text, "Bebidas");
    platform::sameTextIgnoreCase(text, "Bebidas");
  }
  return 0;
}
