// The login: how the credentials travel, which endpoint is asked, and what
// is kept (token in memory, settings file, screens) after each outcome.
#include <gtest/gtest.h>

#include <algorithm>

#include "cloud/login.h"
#include "config/config_file.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "tests/support/scripted_http.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"

namespace cloud {
namespace {

TEST(LoginEncoding, EncodesEachByteOfTheAnsiText) {
  EXPECT_EQ(encodeCredential("jo\xe3o silva"), "jo%E3o+silva");
  EXPECT_EQ(encodeCredential("a&b=c"), "a%26b%3Dc");
  EXPECT_EQ(encodeCredential("maria.souza@restaurante.com.br"), "maria.souza@restaurante.com.br");
  EXPECT_EQ(encodeCredential("AZaz09*@._-$!'()"), "AZaz09*@._-$!'()");
  EXPECT_EQ(encodeCredential("a\xe7\xe3o"), "a%E7%E3o");
  EXPECT_EQ(encodeCredential("%+/?#~\"\t\x7f\xff"), "%25%2B%2F%3F%23%7E%22%09%7F%FF");
  EXPECT_EQ(encodeCredential(std::string("a\0b", 3)), "a%00b");
  EXPECT_EQ(encodeCredential(""), "");
}

TEST(LoginEncoding, BuildsTheTokenRequestWithEmptyValuesAsTheyAre) {
  EXPECT_EQ(loginUrl("https://api.test", "", ""), "https://api.test/token?username=&password=");
  EXPECT_EQ(loginUrl("https://api.test", "jo\xe3o silva", "p&ss=1"),
            "https://api.test/token?username=jo%E3o+silva&password=p%26ss%3D1");
}

TEST(Endpoints, StagingOnlyForATokenContainingStageDot) {
  ApiEndpoints endpoints{"https://prod", "https://stage"};
  EXPECT_EQ(endpoints.select(""), "https://prod");
  EXPECT_EQ(endpoints.select("abc.stage.def"), "https://stage");
  EXPECT_EQ(endpoints.select("stage.abc"), "https://stage");
  EXPECT_EQ(endpoints.select("abc.STAGE.def"), "https://prod");
  EXPECT_EQ(endpoints.select("abcstage"), "https://prod");

  // The build's own hosts, over HTTPS.
  ApiEndpoints built = builtInApiEndpoints();
  EXPECT_EQ(built.production.rfind("https://", 0), 0u) << built.production;
  EXPECT_EQ(built.staging.rfind("https://", 0), 0u) << built.staging;
  EXPECT_NE(built.production, built.staging);
}

class Login : public ::testing::Test {
 protected:
  Login() {
    // The token is stored before the log screen shows.
    context.showLogScreen = [this] {
      events.push_back("log screen");
      tokenAtLogScreen = storedToken();
    };
  }

  std::string settings() { return config::appFile(dir.path(), config::kSettingsFile); }
  std::string storedToken() {
    return platform::readProfileString(settings(), "CONFIG", "token", "<none>");
  }

  TempDir dir;
  net_test::ScriptedHttp http;
  std::string token;
  routing::Tables tables;
  ScriptedPrompts port;
  std::vector<std::string>& events = port.journal;
  std::string tokenAtLogScreen;
  CloudContext context{http,  port,   ApiEndpoints{"https://api.test", "https://stage.test"},
                       token, tables, dir.path()};
};

TEST_F(Login, AnAcceptedLoginLoadsTheCatalogThenStoresTheToken) {
  http.answer("https://api.test/token?username=demo%2540quelta&password=quelta123",
              R"({"success":true,"data":{"token":"loja.stage.77","nome":"Sabor"}})");
  http.answer("https://stage.test/categorias?token=loja.stage.77&all=1",
              R"({"success":true,"data":[{"id":1,"name":"Lanches"}]})");
  http.answer("https://stage.test/configuracoes/cartoes-auxiliares?token=loja.stage.77",
              R"({"success":true,"data":[{"id":101}]})");

  EXPECT_EQ(login(context, "demo%40quelta", "quelta123"), LoginOutcome::kLoggedIn);

  EXPECT_EQ(token, "loja.stage.77");
  EXPECT_EQ(storedToken(), "loja.stage.77");
  EXPECT_EQ(events, (std::vector<std::string>{"log screen"}));
  EXPECT_EQ(context.refill, host::kRefillCategoryList);
  EXPECT_EQ(tokenAtLogScreen, "loja.stage.77");
  EXPECT_EQ(http.calls,
            (std::vector<std::string>{
                "text https://api.test/token?username=demo%2540quelta&password=quelta123",
                "stream https://stage.test/categorias?token=loja.stage.77&all=1", "disconnect",
                "text https://stage.test/configuracoes/cartoes-auxiliares?token=loja.stage.77",
                "disconnect", "disconnect"}));
  EXPECT_EQ(platform::readFile(config::appFile(dir.path(), config::kCategoryFile)),
            R"([{"id":1,"name":"Lanches"}])");
  EXPECT_EQ(platform::readFile(config::appFile(dir.path(), config::kCardFile)), R"([{"id":101}])");
}

TEST_F(Login, RefusedCredentialsShowTheMessageAndKeepNothing) {
  // The client has decoded the reply already; here the text stands as 8-bit.
  http.answer("https://api.test/token?username=demo&password=errada",
              "{\"success\":false,\"message\":\"Usu\xe1rio ou senha inv\xe1lidos.\"}");

  EXPECT_EQ(login(context, "demo", "errada"), LoginOutcome::kRefused);

  EXPECT_EQ(events, (std::vector<std::string>{"message Usu\xe1rio ou senha inv\xe1lidos."}));
  EXPECT_EQ(context.refill, host::kRefillNothing);
  EXPECT_EQ(token, "");
  EXPECT_FALSE(platform::fileExists(settings()));
  EXPECT_EQ(http.calls.back(), "disconnect");
  EXPECT_EQ(http.calls.size(), 2u);
}

TEST_F(Login, AFailedCatalogKeepsTheNewTokenInMemoryOnly) {
  http.answer("https://api.test/token?username=demo&password=x",
              R"({"success":true,"data":{"token":"t.stage.1"}})");
  http.answer("https://stage.test/categorias?token=t.stage.1&all=1",
              R"({"success":false,"message":"Cat\u00e1logo indispon\u00edvel"})");

  EXPECT_EQ(login(context, "demo", "x"), LoginOutcome::kCatalogFailed);

  EXPECT_EQ(events, (std::vector<std::string>{"message Cat\xe1logo indispon\xedvel"}));
  EXPECT_EQ(context.refill, host::kRefillNothing);
  EXPECT_EQ(token, "t.stage.1");
  EXPECT_FALSE(platform::fileExists(settings()));
  EXPECT_FALSE(platform::fileExists(config::appFile(dir.path(), config::kCardFile)));

  // The next attempt in the same run asks the endpoint that token selects.
  http.answer("https://stage.test/token?username=demo&password=x",
              R"({"success":false,"message":"Tente de novo"})");
  EXPECT_EQ(login(context, "demo", "x"), LoginOutcome::kRefused);
  EXPECT_EQ(token, "t.stage.1");
}

TEST_F(Login, ErrorsRunOutWithNothingStoredAndTheClientDisconnected) {
  const std::string url = "https://api.test/token?username=demo&password=x";
  http.fail(url, [] { throw net::HttpProtocolError(401, "HTTP/1.1 401 Unauthorized"); });
  try {
    login(context, "demo", "x");
    ADD_FAILURE() << "the error status did not reach the caller";
  } catch (const net::HttpProtocolError& e) {
    EXPECT_EQ(e.message(), "HTTP/1.1 401 Unauthorized");
  }

  http.answer(url, "<html>Servidor em manuten\xe7\xe3o</html>");
  EXPECT_THROW(login(context, "demo", "x"), quelta::Error);
  // Accepted, but without the token where it belongs.
  http.answer(url, R"({"success":true,"data":{"tok":"abc"}})");
  EXPECT_THROW(login(context, "demo", "x"), quelta::Error);
  // An error in the catalog download after an accepted login.
  http.answer(url, R"({"success":true,"data":{"token":"abc"}})");
  http.fail("https://api.test/categorias?token=abc&all=1",
            [] { throw net::SocketError("Failed to connect to api.test port 443"); });
  EXPECT_THROW(login(context, "demo", "x"), net::SocketError);
  EXPECT_EQ(token, "abc");

  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(platform::fileExists(settings()));
  EXPECT_EQ(std::count(http.calls.begin(), http.calls.end(), "disconnect"), 5);
  EXPECT_EQ(http.calls.back(), "disconnect");
}

}  // namespace
}  // namespace cloud
