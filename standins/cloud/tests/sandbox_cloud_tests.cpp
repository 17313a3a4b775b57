// The sandbox cloud driven by the tool's own client, login and catalog
// sync: the demo accounts, both endpoints, the downloads and every scripted
// failure.
#include <ctime>

#include <gtest/gtest.h>

#include "cloud/catalog_sync.h"
#include "cloud/login.h"
#include "config/config_file.h"
#include "config/version.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/text_locale.h"
#include "standins/cloud/menu.h"
#include "standins/cloud/sandbox.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "update/publication.h"

namespace sandbox {
namespace {

Options freePorts(const std::string& filesDir = "") {
  Options options;
  options.productionPort = options.stagingPort = options.downloadPort = options.downloadHttpPort =
      0;
  options.certFile = std::string(QUELTA_SANDBOX_CERTS) + "/server.pem";
  options.keyFile = std::string(QUELTA_SANDBOX_CERTS) + "/server.key";
  options.filesDir = filesDir;
  options.publisherKeyFile = std::string(QUELTA_SANDBOX_CERTS) + "/publisher.key";
  return options;
}

Failure failure(const std::string& query) {
  Failure f;
  std::string error;
  EXPECT_TRUE(parseFailure(query, f, error)) << error;
  return f;
}

class Sandbox : public ::testing::Test {
 protected:
  Sandbox() : cloud(freePorts()) {
    cloud.start();
    context.endpoints = cloud::ApiEndpoints{cloud.productionUrl(), cloud.stagingUrl()};
  }

  std::string storedToken() {
    return platform::readProfileString(config::appFile(dir.path(), config::kSettingsFile), "CONFIG",
                                       "token", "<none>");
  }

  SandboxCloud cloud;
  TempDir dir;
  net::HttpClient http{net::Timeouts{5000, 2}};
  std::string token;
  routing::Tables tables;
  ScriptedPrompts port;
  cloud::CloudContext context{http, port, {}, token, tables, dir.path()};
};

TEST_F(Sandbox, TheDemoAccountLogsInAndGetsTheWholeMenu) {
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kLoggedIn);

  EXPECT_EQ(token.rfind("prd.", 0), 0u) << token;
  EXPECT_EQ(storedToken(), token);
  EXPECT_TRUE(port.messages().empty());
  ASSERT_EQ(tables.categories->count(), 42);  // "all=1" brings the inactive ones too
  EXPECT_EQ(tables.categories->objectAt(1).textOf("name"),
            "Por\xe7\xf5"
            "es");
  EXPECT_EQ(tables.categories->objectAt(1).intOf("id"), 3102);
  std::string file = platform::readFile(config::appFile(dir.path(), config::kCategoryFile));
  EXPECT_NE(file.find(R"({"id":3102,"name":"Por\u00E7\u00F5es")"), std::string::npos);
  ASSERT_NE(tables.cards, nullptr);
  EXPECT_EQ(tables.cards->count(), 30);
  EXPECT_EQ(tables.cards->objectAt(0).textOf("descricao"), "Balc\xe3o");

  EXPECT_EQ(cloud.requests(),
            (std::vector<std::string>{
                "production GET /token?username=demo@quelta.com.br&password=quelta123",
                "production GET /categorias?token=" + token + "&all=1",
                "production GET /configuracoes/cartoes-auxiliares?token=" + token}));
}

TEST_F(Sandbox, AnAccentedUserAndAPasswordWithQuerySignsArriveIntact) {
  EXPECT_EQ(cloud::login(context, "jo\xe3o silva", "p\xe3o&caf\xe9=1"),
            cloud::LoginOutcome::kLoggedIn);
  EXPECT_EQ(cloud.requests().front(),
            "production GET /token?username=jo%E3o+silva&password=p%E3o%26caf%E9%3D1");

  // A wrong password is refused with the platform's message.
  std::string before = token;
  EXPECT_EQ(cloud::login(context, "jo\xe3o silva", "pao"), cloud::LoginOutcome::kRefused);
  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Usu\xe1rio ou senha inv\xe1lidos."}));
  EXPECT_EQ(token, before);
}

TEST_F(Sandbox, AStagingTokenLogsInAndSyncsOnStaging) {
  token = "antigo.stage.1";
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kLoggedIn);
  EXPECT_EQ(token.rfind("loja.stage.", 0), 0u) << token;
  // Staging's own test category tells the endpoints apart.
  const json::TJSONArray& categories = *tables.categories;
  EXPECT_EQ(categories.objectAt(categories.count() - 1).textOf("name"), "Teste Homologa\xe7\xe3o");
  for (const std::string& line : cloud.requests()) EXPECT_EQ(line.rfind("staging ", 0), 0u) << line;

  // A production endpoint does not know a staging token.
  cloud::ApiEndpoints swapped{cloud.stagingUrl(), cloud.productionUrl()};
  context.endpoints = swapped;
  EXPECT_FALSE(cloud::updateCatalog(context));
  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Token inv\xe1lido ou expirado. Fa\xe7"
                                                       "a login novamente."}));
}

TEST_F(Sandbox, ScriptedFailuresReachTheToolAsTheRealCloudsWould) {
  // Categories refused after a good login: the token stays in memory only.
  cloud.addFailure(
      failure("kind=success-false&path=/categorias&times=1&message=Manuten%C3%A7%C3%A3o"));
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kCatalogFailed);
  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Manuten\xe7\xe3o"}));
  EXPECT_EQ(storedToken(), "<none>");
  // Used up after one request.
  EXPECT_TRUE(cloud::updateCatalog(context));

  cloud.reset();
  cloud.addFailure(failure("kind=status&status=401&path=/token"));
  try {
    cloud::login(context, "demo@quelta.com.br", "quelta123");
    ADD_FAILURE() << "no error";
  } catch (const net::HttpProtocolError& e) {
    EXPECT_EQ(e.message(), "HTTP/1.1 401 Unauthorized");
  }

  cloud.reset();
  cloud.addFailure(failure("kind=redirects&n=14&path=/token"));
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kLoggedIn);
  cloud.reset();
  cloud.addFailure(failure("kind=redirects&n=15&path=/token"));
  try {
    cloud::login(context, "demo@quelta.com.br", "quelta123");
    ADD_FAILURE() << "no error";
  } catch (const net::HttpProtocolError& e) {
    EXPECT_EQ(e.message(), "HTTP/1.1 302 Found");
  }

  cloud.reset();
  cloud.addFailure(failure("kind=not-json&path=/configuracoes"));
  EXPECT_THROW(cloud::updateCatalog(context), quelta::Error);

  cloud.reset();
  cloud.addFailure(failure("kind=hang&path=/categorias"));
  EXPECT_THROW(cloud::getCategoria(context), net::ReadTimeout);
  cloud.reset();
  EXPECT_TRUE(cloud::getCategoria(context));

  // A trickle brings the whole reply, a little at a time, and the client
  // tells its watcher each piece.
  cloud.addFailure(failure("kind=trickle&n=1000&path=/categorias"));
  std::vector<int64_t> received;
  context.http.watchBody([&](int64_t bytes) { received.push_back(bytes); });
  EXPECT_TRUE(cloud::getCategoria(context));
  context.http.watchBody(nullptr);
  EXPECT_GT(received.size(), 2u);
  EXPECT_TRUE(std::is_sorted(received.begin(), received.end()));
  cloud.reset();
}

TEST_F(Sandbox, FailuresCanBeSwitchedOverHttp) {
  net::HttpClient control;
  EXPECT_EQ(
      control.getText(cloud.downloadHttpUrl() +
                      "/__control/fail?kind=success-false&path=/token&message=Conta%20bloqueada"),
      "ok\n");
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kRefused);
  EXPECT_EQ(port.messages(), (std::vector<std::string>{"Conta bloqueada"}));
  EXPECT_THROW(control.getText(cloud.downloadHttpUrl() + "/__control/fail?kind=meteor"),
               net::HttpProtocolError);
  EXPECT_EQ(control.getText(cloud.productionUrl() + "/__control/reset"), "ok\n");
  EXPECT_EQ(cloud::login(context, "demo@quelta.com.br", "quelta123"),
            cloud::LoginOutcome::kLoggedIn);

  Failure parsed;
  std::string error;
  EXPECT_FALSE(parseFailure("kind=status&status=abc", parsed, error));
  EXPECT_EQ(error, "not a number: status=abc");
}

TEST(SandboxDownloads, ServesTheManifestOverHttpsAndTheArchiveOverHttp) {
  TempDir files;
  {
    const int64_t minuteBefore = static_cast<int64_t>(std::time(nullptr)) / 60;
    SandboxCloud cloud(freePorts(files.path()));
    cloud.start();
    net::HttpClient http;
    // Nothing put there: the tool's own version signed with the sandbox's
    // publisher key, numbered with the minute it started, no archive.
    const std::string own = http.getStream(cloud.downloadUrl() + "/impressao/version.json");
    const update::Publication publication = update::readPublication(json::TJSONObject(own));
    EXPECT_EQ(publication.version, config::kVersion);
    EXPECT_GE(publication.number, minuteBefore);
    EXPECT_LE(publication.number, static_cast<int64_t>(std::time(nullptr)) / 60);
    EXPECT_TRUE(update::signedByPublisher(
        own, http.getStream(cloud.downloadUrl() + "/impressao/version.json.sig"),
        platform::readFile(std::string(QUELTA_SANDBOX_CERTS) + "/publisher.pem")));
    EXPECT_THROW(http.getStream(cloud.downloadHttpUrl() + "/impressao/impressao.zip"),
                 net::HttpProtocolError);

    const std::string archive("PK\x03\x04\x00\xff binary", 14);
    platform::writeFileReplacing(files.file("version.json"),
                                 R"({"success":true,"versao":"2.1.0"})");
    platform::writeFileReplacing(files.file("impressao.zip"), archive);
    EXPECT_EQ(http.getText(cloud.downloadUrl() + "/impressao/version.json"),
              R"({"success":true,"versao":"2.1.0"})");
    EXPECT_EQ(http.getStream(cloud.downloadHttpUrl() + "/impressao/impressao.zip"), archive);
    // A manifest of its own is served with its own signature or none.
    EXPECT_THROW(http.getStream(cloud.downloadUrl() + "/impressao/version.json.sig"),
                 net::HttpProtocolError);
    platform::writeFileReplacing(files.file("version.json.sig"), "assinatura");
    EXPECT_EQ(http.getStream(cloud.downloadUrl() + "/impressao/version.json.sig"), "assinatura");
  }
}

TEST(SandboxMenu, IsAWholeRestaurantInUtf8) {
  EXPECT_EQ(platform::ansiToUtf8("A\xe7"
                                 "a\xed \x80"),
            "A\xc3\xa7"
            "a\xc3\xad \xe2\x82\xac");
  json::TJSONArray active(categoriesJson(false, false));
  EXPECT_EQ(active.count(), 40);
  json::TJSONArray cards(cardsJson());
  EXPECT_EQ(cards.count(), 30);
}

}  // namespace
}  // namespace sandbox
