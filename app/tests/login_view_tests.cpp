// The login screen's "Acessar" through the real HTTP client against the
// sandbox cloud: what is asked, what lands in the files, which screen shows.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "app/tests/sandbox_cloud.h"
#include "json/json.h"
#include "platform/profile.h"

namespace {

const char kDemoUser[] = "demo@quelta.com.br";
const char kDemoPassword[] = "quelta123";

class LoginView : public sandbox_test::SandboxAppTest {
 protected:
  void logIn(app::MainWindow& window, const std::string& user, const std::string& password) {
    window.control("edtUser").setText(user);
    window.control("edtPass").setText(password);
    prompts.setBusy(false);  // the start-up hourglass ends at the first activation
    window.click("btnLogin");
    EXPECT_FALSE(prompts.isBusy()) << "the hourglass outlived the login";
  }

  std::string storedToken() const {
    return platform::readProfileString(file("quelta.dll"), "CONFIG", "token", "");
  }

  bool onLoginScreen(app::MainWindow& window) const {
    return window.control("gbLogin").visible() && !window.control("gbLog").visible();
  }
};

TEST_F(LoginView, TheDemoAccountReachesTheLogScreenWithTokenCategoriesAndCardsWritten) {
  app::MainWindow window(services, connections);
  ASSERT_TRUE(onLoginScreen(window));
  logIn(window, kDemoUser, kDemoPassword);

  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
  EXPECT_TRUE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbLogin").visible());
  EXPECT_FALSE(window.control("gbConfig").visible());

  const std::string token = window.state().token;
  EXPECT_EQ(token.rfind("prd.", 0), 0u) << token;
  EXPECT_EQ(storedToken(), token);
  EXPECT_EQ(sandbox.requests(),
            (std::vector<std::string>{
                "production GET /token?" + std::string(kDemoQuery),
                "production GET /categorias?token=" + token + "&all=1",
                "production GET /configuracoes/cartoes-auxiliares?token=" + token}));

  // The categories as the server sent them, UTF-8 turned into the program's
  // 8-bit text, written on one line without a line end (spaces and accented
  // letters escaped as the JSON writer does); inactive ones too (all=1).
  const std::string categories = read("categoria");
  EXPECT_EQ(categories.rfind("[{\"id\":3101,\"name\":\"Entradas\",\"descricao\":\"Para\\u0020come"
                             "\\u00E7ar\\u0020bem\",\"ativo\":true,\"ordem\":1},{\"id\":3102,"
                             "\"name\":\"Por\\u00E7\\u00F5es\",\"descricao\":\"Para\\u0020dividir"
                             "\\u0020na\\u0020mesa\",\"ativo\":true,\"ordem\":2},",
                             0),
            0u)
      << categories.substr(0, 200);
  const std::string lastCategory =
      ",{\"id\":3142,\"name\":\"Festa\\u0020Junina\",\"descricao\":\"Junho\\u0020e\\u0020julho\","
      "\"ativo\":false,\"ordem\":42}]";
  ASSERT_GE(categories.size(), lastCategory.size());
  EXPECT_EQ(categories.substr(categories.size() - lastCategory.size()), lastCategory);
  EXPECT_EQ(json::TJSONArray(categories).count(), 42);
  EXPECT_EQ(window.state().tables.categories->asText(), categories);

  // The category list on the configuration screen shows them, by name.
  ui::ListView list = window.list("lvCategoria");
  ASSERT_EQ(list.rowCount(), 42);
  std::vector<std::string> names;
  for (int row = 0; row < list.rowCount(); ++row) names.push_back(list.cell(row, 0));
  EXPECT_NE(std::find(names.begin(), names.end(),
                      "A\xe7"
                      "a\xed"),
            names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "Bebidas sem \xc1lcool"), names.end());

  // The cards exactly as received, re-written.
  const std::string cards = read("cartao");
  EXPECT_EQ(cards.rfind("[{\"id\":7001,\"codigo\":\"BAL\",\"descricao\":\"Balc\\u00E3o\",\"tipo\":"
                        "\"balcao\",\"ativo\":true},{\"id\":7002,\"codigo\":\"DLV\",\"descricao\":"
                        "\"Delivery\\u0020pr\\u00F3prio\",",
                        0),
            0u)
      << cards.substr(0, 200);
  const std::string lastCard =
      ",{\"id\":7125,\"codigo\":\"CMD-025\",\"descricao\":\"Comanda\\u002025\",\"tipo\":"
      "\"comanda\",\"ativo\":true}]";
  ASSERT_GE(cards.size(), lastCard.size());
  EXPECT_EQ(cards.substr(cards.size() - lastCard.size()), lastCard);
  ASSERT_NE(window.state().tables.cards, nullptr);
  EXPECT_EQ(window.state().tables.cards->count(), 30);
}

TEST_F(LoginView, AccentsSpacesAndQuerySeparatorsAreSentAsSingleEncodedBytes) {
  app::MainWindow window(services, connections);
  logIn(window, "jo\xe3o silva", "p\xe3o&caf\xe9=1");

  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
  EXPECT_TRUE(window.control("gbLog").visible());
  ASSERT_FALSE(sandbox.requests().empty());
  EXPECT_EQ(sandbox.requests()[0],
            "production GET /token?username=jo%E3o+silva&password=p%E3o%26caf%E9%3D1");
  EXPECT_EQ(storedToken(), window.state().token);
}

TEST_F(LoginView, ARefusedLoginShowsTheRepliesMessageAndStoresNothing) {
  app::MainWindow window(services, connections);
  logIn(window, kDemoUser, "quelta124");
  EXPECT_EQ(prompts.texts("message"),
            std::vector<std::string>{"Usu\xe1rio ou senha inv\xe1lidos."});
  EXPECT_TRUE(onLoginScreen(window));

  // Empty fields are sent as empty values and answered like any others.
  logIn(window, "", "");
  EXPECT_EQ(prompts.texts("message"),
            (std::vector<std::string>{"Usu\xe1rio ou senha inv\xe1lidos.",
                                      "Usu\xe1rio ou senha inv\xe1lidos."}));
  EXPECT_EQ(sandbox.requests(),
            (std::vector<std::string>{"production GET /token?username=demo@quelta.com.br&password="
                                      "quelta124",
                                      "production GET /token?username=&password="}));
  EXPECT_TRUE(prompts.texts("error").empty());
  EXPECT_TRUE(onLoginScreen(window));
  EXPECT_EQ(window.state().token, "");
  EXPECT_EQ(storedToken(), "");
  EXPECT_FALSE(platform::fileExists(file("categoria")));
  EXPECT_FALSE(platform::fileExists(file("cartao")));
}

TEST_F(LoginView, AnErrorStatusIsShownAsItsStatusLineWithoutReadingTheBody) {
  sandbox.control("fail?kind=status&status=401&path=/token&times=1");
  app::MainWindow window(services, connections);
  logIn(window, kDemoUser, kDemoPassword);

  // The body's JSON message is not what the user sees; the status line is,
  // with the error box's full stop.
  EXPECT_EQ(prompts.texts("error"),
            std::vector<std::string>{
                "O servidor respondeu com o erro 401.\nHTTP/1.1 401 Unauthorized."});
  EXPECT_TRUE(prompts.texts("message").empty());
  EXPECT_TRUE(onLoginScreen(window));
  EXPECT_EQ(window.state().token, "");
  EXPECT_EQ(storedToken(), "");

  // A reply that is not JSON reaches the error box too; nothing is stored.
  sandbox.control("fail?kind=not-json&path=/token&times=1");
  logIn(window, kDemoUser, kDemoPassword);
  ASSERT_EQ(prompts.texts("error").size(), 2u);
  EXPECT_TRUE(onLoginScreen(window));
  EXPECT_EQ(window.state().token, "");
  EXPECT_EQ(storedToken(), "");
  EXPECT_FALSE(platform::fileExists(file("categoria")));
}

TEST_F(LoginView, AFailedCategoryDownloadKeepsTheTokenInMemoryOnlyUntilALoginSucceeds) {
  sandbox.control("fail?kind=success-false&path=/categorias&times=1");
  app::MainWindow window(services, connections);
  logIn(window, kDemoUser, kDemoPassword);

  EXPECT_EQ(prompts.texts("message"),
            std::vector<std::string>{"Falha simulada pelo servidor de testes."});
  EXPECT_TRUE(onLoginScreen(window));
  const std::string heldToken = window.state().token;
  EXPECT_EQ(heldToken.rfind("prd.", 0), 0u) << heldToken;
  EXPECT_EQ(storedToken(), "");
  EXPECT_FALSE(platform::fileExists(file("categoria")));
  EXPECT_FALSE(platform::fileExists(file("cartao")));
  // The cards are asked only after the categories came through.
  EXPECT_EQ(sandbox.requests().size(), 2u);

  logIn(window, kDemoUser, kDemoPassword);
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_TRUE(window.control("gbLog").visible());
  EXPECT_EQ(storedToken(), heldToken);
  EXPECT_EQ(json::TJSONArray(read("categoria")).count(), 42);
  EXPECT_EQ(json::TJSONArray(read("cartao")).count(), 30);
}

TEST_F(LoginView, TheNextAttemptChoosesItsEndpointByTheTokenThePreviousReplyLeft) {
  // An API whose production side hands out staging tokens: after its
  // category download failed, the held token sends the next login to the
  // staging endpoint, and each request tests the token held at its moment.
  connections.api = cloud::ApiEndpoints{sandbox.staging, sandbox.production};
  sandbox.control("fail?kind=success-false&path=/categorias&times=1");
  app::MainWindow window(services, connections);
  logIn(window, kDemoUser, kDemoPassword);

  const std::string stagingToken = window.state().token;
  EXPECT_EQ(stagingToken.rfind("loja.stage.", 0), 0u) << stagingToken;
  EXPECT_EQ(storedToken(), "");
  EXPECT_TRUE(onLoginScreen(window));
  sandbox.control("reset");

  logIn(window, kDemoUser, kDemoPassword);
  const std::string productionToken = window.state().token;
  EXPECT_EQ(productionToken.rfind("prd.", 0), 0u) << productionToken;
  // The login went to the configured staging side (the sandbox's production
  // endpoint); its token then sent the categories back to the configured
  // production side, which refuses a token not its own.
  EXPECT_EQ(
      sandbox.requests(),
      (std::vector<std::string>{"production GET /token?" + std::string(kDemoQuery),
                                "staging GET /categorias?token=" + productionToken + "&all=1"}));
  ASSERT_EQ(prompts.texts("message").size(), 2u);
  EXPECT_EQ(prompts.texts("message")[1],
            "Token inv\xe1lido ou expirado. Fa\xe7"
            "a login novamente.");
  EXPECT_TRUE(onLoginScreen(window));
  EXPECT_EQ(storedToken(), "");
}

}  // namespace
