// A deep copy of a JSON value, made member by member with the library's own
// calls. Rebuilding a table from the records it keeps goes through this: the
// library has no way to move an element out of an array, and a copy through
// JSON text would turn bytes such as the euro sign into "\u0080" and back
// into whatever the code page makes of that.
#pragma once

#include "json/json.h"

namespace json {

// An absent value gives an absent copy; the shared true, false and null
// stay the shared constants. Members keep their order and stored names; two
// members whose names compare equal both carry the first one's value, which
// is what the library writes for them anyway.
json::Value copyValue(const json::TZAbstractObject* value);

// A record copy for a new table.
std::unique_ptr<json::TJSONObject, json::ValueDeleter> copyObject(const json::TJSONObject& object);

}  // namespace json
