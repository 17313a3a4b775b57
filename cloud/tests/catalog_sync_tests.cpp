// The catalog sync over a scripted client: the requests it makes, the
// merge of printer assignments, and the exact bytes of the files it writes.
#include <gtest/gtest.h>

#include <algorithm>

#include "cloud/catalog_sync.h"
#include "config/config_file.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "tests/support/scripted_http.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

namespace cloud {
namespace {

constexpr char kProduction[] = "https://api.test";
constexpr char kStaging[] = "https://stage-api.test";

class CatalogSync : public ::testing::Test {
 protected:
  std::string file(const char* name) { return config::appFile(dir.path(), name); }
  std::string categoriesUrl() {
    return std::string(kProduction) + "/categorias?token=tok123&all=1";
  }
  std::string cardsUrl() {
    return std::string(kProduction) + "/configuracoes/cartoes-auxiliares?token=tok123";
  }
  void saveTable(const std::string& text) {
    tables.categories = std::make_unique<json::TJSONArray>(text);
    platform::writeFileReplacing(file(config::kCategoryFile), text);
  }

  TempDir dir;
  net_test::ScriptedHttp http;
  std::string token = "tok123";
  routing::Tables tables;
  ScriptedPrompts port;
  CloudContext context{http, port, ApiEndpoints{kProduction, kStaging}, token, tables, dir.path()};
  // Whether the operations so far named the category list for a refill;
  // asking clears it for the next.
  bool refills() {
    const bool named = context.refill == host::kRefillCategoryList;
    context.refill = host::kRefillNothing;
    return named;
  }
};

TEST_F(CatalogSync, KeepsTheSavedPrinterOfEveryCategoryThatStillComes) {
  saveTable(
      R"([{"id":1,"name":"Lanches","printer":"Cozinha"},{"id":2,"name":"Bebidas","printer":"Bar"}])");
  http.answer(categoriesUrl(), R"({"success":true,"data":[{"id":2,"name":"Bebidas","ordem":1},)"
                               R"({"id":3,"name":"Sobremesas","ordem":2}]})");

  EXPECT_TRUE(getCategoria(context));

  const std::string expected =
      R"([{"id":2,"name":"Bebidas","ordem":1,"printer":"Bar"},{"id":3,"name":"Sobremesas","ordem":2}])";
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)), expected);
  EXPECT_EQ(tables.categories->asText(), expected);
  EXPECT_TRUE(refills());
  EXPECT_TRUE(port.messages().empty());
  EXPECT_EQ(http.calls, (std::vector<std::string>{"stream " + categoriesUrl(), "disconnect"}));
}

TEST(MergePrinters, ASavedPrinterWinsOverTheDownloadedOneAndTheLastSavedDecides) {
  json::TJSONArray saved(R"([{"id":5,"name":"Pizzas","printer":"Forno"},{"id":6,"name":"Sucos"},)"
                         R"({"id":8,"printer":"A"},{"id":"8","printer":"B"},{"id":8}])");
  json::TJSONArray downloaded(
      R"([{"id":5,"printer":"Caixa","name":"Pizzas"},{"id":6,"printer":"Caixa"},)"
      R"({"id":7,"printer":"Caixa"},{"id":8}])");
  mergePrinters(saved, downloaded);
  // A replaced "printer" keeps its place among the members.
  EXPECT_EQ(downloaded.asText(),
            R"([{"id":5,"printer":"Forno","name":"Pizzas"},{"id":6,"printer":"Caixa"},)"
            R"({"id":7,"printer":"Caixa"},{"id":8,"printer":"B"}])");

  // Without saved records the download stays as it came.
  json::TJSONArray none;
  json::TJSONArray fresh(R"([{"id":1,"name":"Caf\u00e9s"}])");
  std::string before = fresh.asText();
  mergePrinters(none, fresh);
  EXPECT_EQ(fresh.asText(), before);
}

TEST_F(CatalogSync, AnEmptyTableTakesTheDownloadAndEmptyDataEmptiesTheFile) {
  http.answer(categoriesUrl(), R"({"success":true,"data":[{"id":9,"name":"Por\u00e7\u00f5es"}]})");
  EXPECT_TRUE(getCategoria(context));
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)),
            R"([{"id":9,"name":"Por\u00E7\u00F5es"}])");
  EXPECT_TRUE(refills());

  http.answer(categoriesUrl(), R"({"success":true,"data":[]})");
  EXPECT_TRUE(getCategoria(context));
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)), "[]");
  EXPECT_EQ(tables.categories->count(), 0);
  EXPECT_TRUE(refills());
}

TEST_F(CatalogSync, CategoriesAreReadAsUtf8WhateverTheReplyDeclares) {
  // Raw bytes of the reply: UTF-8 text, decoded here and not by the client.
  http.answer(categoriesUrl(),
              "{\"success\":true,\"data\":[{\"id\":1,\"name\":\"A\xc3\xa7"
              "a\xc3\xad\"}]}");
  EXPECT_TRUE(getCategoria(context));
  EXPECT_EQ(tables.categories->objectAt(0).textOf("name"),
            "A\xe7"
            "a\xed");
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)),
            R"([{"id":1,"name":"A\u00E7a\u00ED"}])");
}

TEST_F(CatalogSync, ARefusedDownloadShowsItsMessageAndChangesNothing) {
  saveTable(R"([{"id":1,"name":"Lanches","printer":"Cozinha"}])");
  const json::TJSONArray* before = tables.categories.get();
  http.answer(categoriesUrl(),
              "{\"success\":false,\"message\":\"Sess\xc3\xa3o expirada. Fa\xc3\xa7"
              "a login.\"}");

  EXPECT_FALSE(updateCatalog(context));

  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Sess\xe3o expirada. Fa\xe7"
                                                       "a login."}));
  EXPECT_EQ(tables.categories.get(), before);
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)),
            R"([{"id":1,"name":"Lanches","printer":"Cozinha"}])");
  EXPECT_FALSE(refills());
  // The cards are not asked for.
  EXPECT_EQ(http.calls, (std::vector<std::string>{"stream " + categoriesUrl(), "disconnect"}));
  EXPECT_FALSE(platform::fileExists(file(config::kCardFile)));
}

TEST_F(CatalogSync, AFailureBeforeTheEndLeavesTableAndFileAsTheyWere) {
  const std::string saved = R"([{"id":1,"name":"Lanches","printer":"Cozinha"}])";
  saveTable(saved);
  const json::TJSONArray* before = tables.categories.get();

  // A downloaded record without "id" ends the merge.
  http.answer(categoriesUrl(), R"({"success":true,"data":[{"name":"Bebidas"}]})");
  EXPECT_THROW(getCategoria(context), quelta::Error);
  // A reply that is not JSON, and one without "data".
  http.answer(categoriesUrl(), "<html><body>Erro interno</body></html>");
  EXPECT_THROW(getCategoria(context), quelta::Error);
  http.answer(categoriesUrl(), R"({"success":true})");
  EXPECT_THROW(getCategoria(context), quelta::Error);
  // An error status.
  http.fail(categoriesUrl(),
            [] { throw net::HttpProtocolError(500, "HTTP/1.1 500 Internal Server Error"); });
  EXPECT_THROW(getCategoria(context), net::HttpProtocolError);

  EXPECT_EQ(tables.categories.get(), before);
  EXPECT_EQ(platform::readFile(file(config::kCategoryFile)), saved);
  EXPECT_FALSE(refills());
  // Every attempt ended with the client disconnected.
  EXPECT_EQ(std::count(http.calls.begin(), http.calls.end(), "disconnect"), 4);
}

TEST_F(CatalogSync, AFileThatCannotBeWrittenLeavesTheTableAsItWas) {
  const json::TJSONArray* before = tables.categories.get();
  context.appDir = dir.file("no-such-directory");
  http.answer(categoriesUrl(), R"({"success":true,"data":[{"id":1,"name":"Lanches"}]})");
  EXPECT_THROW(getCategoria(context), quelta::IOError);
  EXPECT_EQ(tables.categories.get(), before);
  EXPECT_FALSE(refills());

  http.answer(cardsUrl(), R"({"success":true,"data":[{"id":1}]})");
  EXPECT_THROW(getCartao(context), quelta::IOError);
  EXPECT_EQ(tables.cards, nullptr);
}

TEST_F(CatalogSync, TheCardFileHoldsTheReplysDataExactly) {
  http.answer(categoriesUrl(), R"({"success":true,"data":[]})");
  http.answer(cardsUrl(),
              R"({"success":true,"data":[{"id":101,"codigo":"0001","descricao":"Comanda 01",)"
              R"("ativo":true,"limite":150.5},{"id":102,"codigo":"0002","ativo":false}]})");

  EXPECT_TRUE(updateCatalog(context));

  const std::string expected =
      R"([{"id":101,"codigo":"0001","descricao":"Comanda\u002001","ativo":true,"limite":"150.50"},)"
      R"({"id":102,"codigo":"0002","ativo":false}])";
  EXPECT_EQ(platform::readFile(file(config::kCardFile)), expected);
  ASSERT_NE(tables.cards, nullptr);
  EXPECT_EQ(tables.cards->asText(), expected);
  EXPECT_EQ(http.calls, (std::vector<std::string>{"stream " + categoriesUrl(), "disconnect",
                                                  "text " + cardsUrl(), "disconnect"}));

  // saveCartao writes the table held now, no line end.
  tables.cards = std::make_unique<json::TJSONArray>(R"([{"id":7}])");
  saveCartao(tables, dir.path());
  EXPECT_EQ(platform::readFile(file(config::kCardFile)), R"([{"id":7}])");
}

TEST_F(CatalogSync, RefusedCardsKeepTheCardTableAndFile) {
  tables.cards = std::make_unique<json::TJSONArray>(R"([{"id":1}])");
  platform::writeFileReplacing(file(config::kCardFile), R"([{"id":1}])");
  const json::TJSONArray* before = tables.cards.get();
  http.answer(cardsUrl(), R"({"success":false,"message":"Sem cart\u00f5es"})");

  EXPECT_FALSE(getCartao(context));
  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Sem cart\xf5"
                                                       "es"}));
  EXPECT_EQ(tables.cards.get(), before);
  EXPECT_EQ(platform::readFile(file(config::kCardFile)), R"([{"id":1}])");
}

TEST_F(CatalogSync, AStagingTokenSendsTheCatalogToStaging) {
  token = "abc.stage.123";
  http.answer(std::string(kStaging) + "/categorias?token=abc.stage.123&all=1",
              R"({"success":true,"data":[]})");
  http.answer(std::string(kStaging) + "/configuracoes/cartoes-auxiliares?token=abc.stage.123",
              R"({"success":true,"data":[]})");
  EXPECT_TRUE(updateCatalog(context));

  // The same text in capitals is no staging token.
  token = "ABC.STAGE.123";
  http.answer(std::string(kProduction) + "/categorias?token=ABC.STAGE.123&all=1",
              R"({"success":false,"message":"x"})");
  EXPECT_FALSE(updateCatalog(context));
}

}  // namespace
}  // namespace cloud
