// "Atualizar" on the configuration screen through the real HTTP client
// against the sandbox cloud: saved printer routes survive, failures leave
// the tables and their files alone.
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "app/tests/sandbox_cloud.h"
#include "json/json.h"

namespace {

// Saved routes: two categories the server still has, one it dropped.
const char kSavedCategories[] =
    "[{\"id\":3102,\"name\":\"Por\xe7\xf5"
    "es antigas\",\"printer\":\"COZINHA\"},"
    "{\"id\":1,\"name\":\"Extinta\",\"printer\":\"CAIXA\"},"
    "{\"id\":3131,\"name\":\"Cervejas\",\"printer\":\"BAR\"}]";
const char kSavedCards[] = "[{\"id\":1,\"descricao\":\"Cart\xe3o antigo\"}]";

class CatalogView : public sandbox_test::SandboxAppTest {
 protected:
  void SetUp() override {
    SandboxAppTest::SetUp();
    write("categoria", kSavedCategories);
    write("cartao", kSavedCards);
  }

  void logInAs(const std::string& token) {
    write("quelta.dll", "[CONFIG]\r\ntoken=" + token + "\r\n");
  }

  void update(app::MainWindow& window) {
    window.click("btnConfig");
    prompts.setBusy(false);  // the start-up hourglass ends at the first activation
    window.click("btnUpdate");
    EXPECT_FALSE(prompts.isBusy()) << "the hourglass outlived the update";
  }

  // The list's printer column for the row showing `name`; "?" when no row does.
  static std::string listedPrinter(app::MainWindow& window, const std::string& name) {
    ui::ListView list = window.list("lvCategoria");
    for (int row = 0; row < list.rowCount(); ++row)
      if (list.cell(row, 0) == name) return list.cell(row, 1);
    return "?";
  }

  static const json::TJSONObject* categoryWithId(const json::TJSONArray& table, int id) {
    for (int i = 0; i < table.count(); ++i)
      if (table.objectAt(i).intOf("id") == id) return &table.objectAt(i);
    return nullptr;
  }
};

TEST_F(CatalogView, AtualizarKeepsSavedRoutesAndDropsUnsavedPicks) {
  const std::string token = sandbox.tokenFor(sandbox.production, kDemoQuery);
  logInAs(token);
  app::MainWindow window(services, connections);
  ASSERT_EQ(window.list("lvCategoria").rowCount(), 3);
  EXPECT_EQ(listedPrinter(window, "Cervejas"), "BAR");
  // A pick made in the list but not saved with "Salvar".
  ui::ListView list = window.list("lvCategoria");
  for (int row = 0; row < list.rowCount(); ++row)
    if (list.cell(row, 0) == "Extinta") list.setCell(row, 1, "COZINHA");

  update(window);

  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
  EXPECT_EQ(sandbox.requests(),
            (std::vector<std::string>{
                "production GET /categorias?token=" + token + "&all=1",
                "production GET /configuracoes/cartoes-auxiliares?token=" + token}));

  // The server's records, "printer" carried over by id and appended last;
  // the saved name and the dropped category are gone.
  const std::string categories = read("categoria");
  json::TJSONArray table(categories);
  ASSERT_EQ(table.count(), 42);
  ASSERT_NE(categoryWithId(table, 3102), nullptr);
  EXPECT_EQ(categoryWithId(table, 3102)->asText(),
            "{\"id\":3102,\"name\":\"Por\\u00E7\\u00F5es\",\"descricao\":\"Para\\u0020dividir"
            "\\u0020na\\u0020mesa\",\"ativo\":true,\"ordem\":2,\"printer\":\"COZINHA\"}");
  ASSERT_NE(categoryWithId(table, 3131), nullptr);
  EXPECT_EQ(categoryWithId(table, 3131)->textOf("printer"), "BAR");
  ASSERT_NE(categoryWithId(table, 3101), nullptr);
  EXPECT_FALSE(categoryWithId(table, 3101)->contains("printer"));
  EXPECT_EQ(categoryWithId(table, 1), nullptr);
  EXPECT_EQ(window.state().tables.categories->asText(), categories);

  EXPECT_EQ(window.list("lvCategoria").rowCount(), 42);
  EXPECT_EQ(listedPrinter(window,
                          "Por\xe7\xf5"
                          "es"),
            "COZINHA");
  EXPECT_EQ(listedPrinter(window, "Cervejas"), "BAR");
  EXPECT_EQ(listedPrinter(window, "Entradas"), "");
  EXPECT_EQ(listedPrinter(window, "Extinta"), "?");

  EXPECT_EQ(json::TJSONArray(read("cartao")).count(), 30);
  EXPECT_EQ(window.state().tables.cards->asText(), read("cartao"));
}

TEST_F(CatalogView, AStoredStagingTokenSendsTheSyncToTheStagingEndpoint) {
  const std::string token = sandbox.tokenFor(sandbox.staging, kDemoQuery);
  ASSERT_NE(token.find("stage."), std::string::npos) << token;
  logInAs(token);
  app::MainWindow window(services, connections);
  update(window);

  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
  EXPECT_EQ(
      sandbox.requests(),
      (std::vector<std::string>{"staging GET /categorias?token=" + token + "&all=1",
                                "staging GET /configuracoes/cartoes-auxiliares?token=" + token}));
  // Staging's own test category is there, routes carried over as ever.
  EXPECT_EQ(window.list("lvCategoria").rowCount(), 43);
  EXPECT_EQ(listedPrinter(window, "Teste Homologa\xe7\xe3o"), "");
  EXPECT_EQ(listedPrinter(window, "Cervejas"), "BAR");
}

TEST_F(CatalogView, AFailedDownloadLeavesTablesAndFilesAsTheyWere) {
  const std::string token = sandbox.tokenFor(sandbox.production, kDemoQuery);
  logInAs(token);
  app::MainWindow window(services, connections);

  // "success" false for the categories: its message, and no card request.
  sandbox.control(
      "fail?kind=success-false&path=/categorias&times=1&message=Card%C3%A1pio%20em%20"
      "manuten%C3%A7%C3%A3o");
  update(window);
  EXPECT_EQ(prompts.texts("message"), std::vector<std::string>{"Card\xe1pio em manuten\xe7\xe3o"});
  EXPECT_EQ(sandbox.requests(),
            std::vector<std::string>{"production GET /categorias?token=" + token + "&all=1"});
  EXPECT_EQ(read("categoria"), kSavedCategories);
  EXPECT_EQ(read("cartao"), kSavedCards);
  EXPECT_EQ(window.list("lvCategoria").rowCount(), 3);

  // An error status: the status line in the error box, nothing replaced.
  sandbox.control("reset");
  sandbox.control("fail?kind=status&status=503&path=/categorias&times=1");
  update(window);
  EXPECT_EQ(prompts.texts("error"),
            std::vector<std::string>{
                "O servidor respondeu com o erro 503.\nHTTP/1.1 503 Service Unavailable."});
  EXPECT_EQ(read("categoria"), kSavedCategories);
  EXPECT_EQ(read("cartao"), kSavedCards);
  EXPECT_EQ(window.state().tables.categories->count(), 3);
  EXPECT_EQ(window.list("lvCategoria").rowCount(), 3);

  // Categories through, cards refused: the categories are in, the card
  // table and its file stay.
  sandbox.control("reset");
  sandbox.control("fail?kind=success-false&path=/configuracoes&times=1");
  update(window);
  EXPECT_EQ(prompts.texts("message").back(), "Falha simulada pelo servidor de testes.");
  EXPECT_EQ(json::TJSONArray(read("categoria")).count(), 42);
  EXPECT_EQ(window.list("lvCategoria").rowCount(), 42);
  EXPECT_EQ(read("cartao"), kSavedCards);
  EXPECT_EQ(window.state().tables.cards->asText(), json::TJSONArray(kSavedCards).asText());
}

// The categories came, then the cards' request failed outright: the error
// box, and the list shows the categories the table now holds.
TEST_F(CatalogView, CategoriesThatCameBeforeAFailedCardRequestAreInTheList) {
  logInAs(sandbox.tokenFor(sandbox.production, kDemoQuery));
  app::MainWindow window(services, connections);
  ASSERT_EQ(window.list("lvCategoria").rowCount(), 3);
  sandbox.control("fail?kind=status&status=503&path=/configuracoes&times=1");
  update(window);
  EXPECT_EQ(prompts.texts("error"),
            std::vector<std::string>{
                "O servidor respondeu com o erro 503.\nHTTP/1.1 503 Service Unavailable."});
  EXPECT_EQ(window.state().tables.categories->count(), 42);
  EXPECT_EQ(window.list("lvCategoria").rowCount(), 42);
}

}  // namespace
