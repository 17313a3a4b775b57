#include "json/value_copy.h"

namespace json {

std::unique_ptr<json::TJSONObject, json::ValueDeleter> copyObject(const json::TJSONObject& object) {
  std::vector<std::string> names = object.names();
  for (const std::string& name : names) {
    // An empty name cannot be looked up; such an object is copied through
    // its text, the only way the library reaches that member.
    if (name.empty()) return json::make<json::TJSONObject>(object.asText());
  }
  auto copy = json::make<json::TJSONObject>();
  for (const std::string& name : names) copy->append(name, copyValue(object.find(name)));
  return copy;
}

json::Value copyValue(const json::TZAbstractObject* value) {
  if (value == nullptr) return json::Value();
  if (value == &json::sharedTrue()) return json::trueValue();
  if (value == &json::sharedFalse()) return json::falseValue();
  if (value == &json::sharedNull()) return json::nullValue();
  if (auto* object = dynamic_cast<const json::TJSONObject*>(value)) return copyObject(*object);
  if (auto* array = dynamic_cast<const json::TJSONArray*>(value)) {
    auto copy = json::make<json::TJSONArray>();
    for (int i = 0; i < array->count(); ++i) copy->add(copyValue(array->find(i)));
    return copy;
  }
  if (auto* text = dynamic_cast<const json::JSONString*>(value))
    return json::makeString(text->text());
  // Numbers and non-shared booleans copy themselves.
  return value->duplicate();
}

}  // namespace json
