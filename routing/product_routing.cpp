#include "routing/product_routing.h"

#include "json/value_copy.h"
#include "routing/printer_table.h"
#include "routing/sorted_rows.h"

namespace routing {

std::vector<ProductRow> productRows(const json::TJSONArray& products) {
  std::vector<ProductRow> rows;
  for (int i = 0; i < products.count(); ++i) {
    const json::TJSONObject& record = products.objectAt(i);
    ProductRow row;
    row.caption = record.textOf("name");
    if (record.contains("printer")) row.printer = record.textOf("printer");
    if (record.contains("imprimeSeparado")) row.imprimeSeparado = record.textOf("imprimeSeparado");
    rows.push_back(std::move(row));
  }
  sortByCaption(rows);
  return rows;
}

ProductPrinterChoice productPrinterChoice(const json::TJSONArray& printers) {
  ProductPrinterChoice choice;
  for (int i = 0; i < printers.count(); ++i)
    choice.items.push_back(printers.objectAt(i).textOf("name"));
  if (!choice.items.empty()) choice.selected = 0;
  return choice;
}

const std::vector<std::string>& productSeparadoItems() { return simNaoItems(); }

host::Outcome addProduct(Tables& tables, const std::string& name, const std::string& printer,
                         const std::string& imprimeSeparado) {
  // Stored member by member, so quotes and backslashes in a name are kept.
  auto record = json::make<json::TJSONObject>();
  record->setText("codigo", "")
      .setText("name", name)
      .setText("printer", printer)
      .setText("imprimeSeparado", imprimeSeparado);
  tables.products->add(std::move(record));
  return {"", host::kRefillProductList};
}

host::Outcome removeProduct(Tables& tables, const std::vector<ProductRow>& rows, int selectedRow) {
  if (selectedRow < 0 || selectedRow >= static_cast<int>(rows.size())) return {kNoProductSelected};
  const std::string& name = rows[selectedRow].caption;
  const json::TJSONArray& products = *tables.products;
  auto kept = std::make_unique<json::TJSONArray>();
  for (int i = 0; i < products.count(); ++i) {
    const json::TJSONObject& record = products.objectAt(i);
    if (record.textOf("name") != name) kept->add(json::copyObject(record));
  }
  tables.products = std::move(kept);
  return {"", host::kRefillProductList};
}

}  // namespace routing
