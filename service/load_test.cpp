#include "service/load_test.h"

#include "json/json_number.h"

namespace service {

std::vector<std::string> loadTestCategoryIds(const json::TJSONArray& categories) {
  std::vector<std::string> printers;
  std::vector<std::string> ids;
  for (int i = 0; i < categories.count(); ++i) {
    const json::TJSONObject& category = categories.objectAt(i);
    const std::string printer = category.textOf("printer");
    bool seen = false;
    for (const std::string& p : printers) seen = seen || p == printer;
    if (seen) continue;
    printers.push_back(printer);
    ids.push_back(category.textOf("id"));
  }
  return ids;
}

std::string loadTestOrder(int n, const std::vector<std::string>& categoryIds) {
  const std::string number = std::to_string(n);
  std::string order = "{\"table\":" + number + ",\"card\":" + number + ",\"items\":[";
  for (size_t i = 0; i < categoryIds.size(); ++i) {
    if (i > 0) order += ", ";
    // The id is quoted by the JSON library, so an id with a quote in it
    // still makes a well-formed order.
    order += "{\"qtd\":\"1\",\"category\":" + json::TJSONObject::quoteText(categoryIds[i]) +
             ",\"title\":\"ITEM 01 DESCRICAO\",\"attr\":[\"  >> Opcional Descricao\"]}";
  }
  order += "]}";
  return order;
}

int loadTestQuantity(const std::string& text) { return json::readInteger(text); }

}  // namespace service
