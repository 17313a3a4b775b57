#include <gtest/gtest.h>

#include "routing/category_routing.h"
#include "routing/printer_table.h"
#include "routing/product_routing.h"

namespace {

template <class Row>
std::vector<std::string> captions(const std::vector<Row>& rows) {
  std::vector<std::string> out;
  for (const Row& row : rows) out.push_back(row.caption);
  return out;
}

TEST(CategoryList, RowsAreSortedInTheLocalesOrderWithTheirPrinters) {
  json::TJSONArray categories(
      "[{\"name\":\"Sobremesas\",\"printer\":\"Cozinha\"},{\"name\":\"bebidas\"},"
      "{\"name\":\"\xc1gua\",\"printer\":\"\"},{\"name\":\"Bebidas\",\"printer\":\"Bar\"},"
      "{\"name\":\"Aperitivos\"},{\"name\":\"a\xe7\xe1\xed\",\"printer\":\"Bar\"}]");
  auto rows = routing::categoryRows(categories);
  // Not byte order: accents and letter case only break ties.
  EXPECT_EQ(captions(rows), (std::vector<std::string>{"a\xe7\xe1\xed", "\xc1gua", "Aperitivos",
                                                      "bebidas", "Bebidas", "Sobremesas"}));
  EXPECT_EQ(rows[0].printer, "Bar");
  EXPECT_EQ(rows[1].printer, "");
  EXPECT_EQ(rows[3].printer, "");
  EXPECT_EQ(rows[4].printer, "Bar");
  EXPECT_EQ(rows[5].printer, "Cozinha");

  json::TJSONArray nameless("[{\"name\":\"Pizzas\"},{\"id\":3}]");
  EXPECT_THROW(routing::categoryRows(nameless), json::NoSuchElementException);
}

TEST(CategoryList, PickingAPrinterFillsTheRowUntilTheListIsRefilled) {
  EXPECT_EQ(routing::pickPrinterFor({}).message, "Nenhuma impressora adicionada");
  EXPECT_TRUE(routing::pickPrinterFor({}).entries.empty());

  std::vector<routing::PrinterRow> printers{{"Caixa *(Padrao)*", "Generic Text", "Sim"},
                                            {"Bar & Cozinha", "Outro", "N\xe3o"},
                                            {"\\\\srv\\Fria", "EPSON DLL", "N\xe3o"}};
  routing::CategoryPick pick = routing::pickPrinterFor(printers);
  EXPECT_EQ(pick.message, "");
  EXPECT_EQ(pick.entries, (std::vector<std::string>{"Caixa", "Bar & Cozinha", "\\\\srv\\Fria"}));

  json::TJSONArray categories(
      "[{\"name\":\"Pizzas\",\"printer\":\"Caixa\"},{\"name\":\"Bebidas\"}]");
  auto rows = routing::categoryRows(categories);
  routing::assignPrinter(rows, 0, pick.entries[1]);
  EXPECT_EQ(rows[0].caption, "Bebidas");
  EXPECT_EQ(rows[0].printer, "Bar & Cozinha");
  EXPECT_EQ(categories.objectAt(1).contains("printer"), false);  // only the row changed
  EXPECT_EQ(routing::categoryRows(categories)[0].printer, "");
}

TEST(ProductRoutes, AddedRecordsKeepTheirTextsAndTheListSortsThem) {
  routing::Tables t;
  EXPECT_EQ(routing::productPrinterChoice(*t.printers).selected, -1);
  EXPECT_TRUE(routing::productPrinterChoice(*t.printers).items.empty());
  EXPECT_EQ(routing::productSeparadoItems(), (std::vector<std::string>{"Sim", "N\xe3o"}));

  // No printer yet: the route is stored with an empty printer.
  host::Outcome out = routing::addProduct(t, "Pastel", "", "N\xe3o");
  EXPECT_EQ(out.refill, host::kRefillProductList);
  routing::addProduct(t,
                      "a\xe7"
                      "a\xed \"grande\" \\ 1",
                      "\\\\srv\\Bar", "Sim");
  routing::addProduct(t, "", "Caixa", "Sim");  // an empty name is taken too
  EXPECT_EQ(t.products->asText(),
            R"([{"codigo":"","name":"Pastel","printer":"","imprimeSeparado":"N\u00E3o"},)"
            R"({"codigo":"","name":"a\u00E7a\u00ED\u0020\"grande\"\u0020\\\u00201",)"
            R"("printer":"\\\\srv\\Bar","imprimeSeparado":"Sim"},)"
            R"({"codigo":"","name":"","printer":"Caixa","imprimeSeparado":"Sim"}])");

  auto rows = routing::productRows(*t.products);
  EXPECT_EQ(captions(rows), (std::vector<std::string>{"",
                                                      "a\xe7"
                                                      "a\xed \"grande\" \\ 1",
                                                      "Pastel"}));
  EXPECT_EQ(rows[1].printer, "\\\\srv\\Bar");
  EXPECT_EQ(rows[1].imprimeSeparado, "Sim");

  json::TJSONArray partial("[{\"name\":\"Coxinha\"}]");
  auto partialRows = routing::productRows(partial);
  EXPECT_EQ(partialRows[0].printer, "");
  EXPECT_EQ(partialRows[0].imprimeSeparado, "");
}

TEST(ProductRoutes, RemovingARowRemovesEveryRecordOfThatExactName) {
  routing::Tables t;
  t.products = std::make_unique<json::TJSONArray>(
      R"([{"codigo":"","name":"Coca","printer":"Bar"},{"codigo":"9","name":"coca"},)"
      R"({"name":"Pastel","printer":"Cozinha"},{"name":"Coca","printer":"Caixa"}])");
  auto rows = routing::productRows(*t.products);
  ASSERT_EQ(captions(rows), (std::vector<std::string>{"coca", "Coca", "Coca", "Pastel"}));
  EXPECT_EQ(rows[2].printer, "Caixa");  // equal captions keep table order

  host::Outcome out = routing::removeProduct(t, rows, 2);
  EXPECT_EQ(out.message, "");
  EXPECT_EQ(out.refill, host::kRefillProductList);
  EXPECT_EQ(t.products->asText(),
            R"([{"codigo":"9","name":"coca"},{"name":"Pastel","printer":"Cozinha"}])");
}

TEST(ProductRoutes, RemovingWithoutSelectionOrWithANamelessRecordChangesNothing) {
  routing::Tables t;
  t.products = std::make_unique<json::TJSONArray>(R"([{"name":"Coca"},{"codigo":"1"}])");
  json::TJSONArray* before = t.products.get();
  host::Outcome out = routing::removeProduct(t, {}, -1);
  EXPECT_EQ(out.message, "Nenhum produto selecionad0");
  EXPECT_EQ(out.refill, 0u);
  std::vector<routing::ProductRow> rows{{"Coca", "", ""}};
  EXPECT_THROW(routing::removeProduct(t, rows, 0), json::NoSuchElementException);
  EXPECT_EQ(t.products.get(), before);
  EXPECT_EQ(t.products->count(), 2);
}

TEST(ProductRoutes, PrinterChoiceFollowsThePrinterTable) {
  routing::Tables t;
  routing::addPrinter(t, "Caixa");
  routing::addPrinter(t, "\\\\srv\\Bar");
  routing::ProductPrinterChoice choice = routing::productPrinterChoice(*t.printers);
  EXPECT_EQ(choice.items, (std::vector<std::string>{"Caixa", "\\\\srv\\Bar"}));
  EXPECT_EQ(choice.selected, 0);
}

}  // namespace
