// The load test's fake orders: one item per printer that has categories
// routed to it, posted to the print service once per order number.
#pragma once

#include <string>
#include <vector>

#include "json/json.h"

namespace service {

// The "id" of the first category routed to each distinct "printer" text
// (exact comparison), in category-table order. Raises the not-found error
// for a category without "printer" or "id".
std::vector<std::string> loadTestCategoryIds(const json::TJSONArray& categories);

// The order text for number n:
// {"table":n,"card":n,"items":[<item>, <item>]} with each item
// {"qtd":"1","category":"<id>","title":"ITEM 01 DESCRICAO",
//  "attr":["  >> Opcional Descricao"]}; items are separated by ", " and no
// other blank is added.
std::string loadTestOrder(int n, const std::vector<std::string>& categoryIds);

// The quantity field's text as an integer; ConvertError
// "'<text>' is not a valid integer value" when it is none.
int loadTestQuantity(const std::string& text);

}  // namespace service
