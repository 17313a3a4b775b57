// The window never waits: with the sandbox cloud holding one request of an
// operation, the window answers within a second the whole time, the
// progress box opens with the operation's name, a click and a key on the
// window do nothing, and "Cancelar" (or Esc) ends it without a word, the
// files as they were but for what the operation keeps after any failure.
// The print service's endpoint (httplib, winsock2.h) before windows.h.
#include "app/tests/service_endpoint.h"
#include <gtest/gtest.h>

#include <map>

#include "app/main_window.h"
#include "app/tests/sandbox_cloud.h"
#include "host/operation_names.h"
#include "platform/files.h"
#include "tests/support/operation_watch.h"
#include "tests/support/real_input.h"

namespace {

using endpoint_test::FakeService;
using operation_watch::postClick;

struct HeldCase {
  const char* name;
  bool loggedIn;      // starts on the log screen with the demo account's token
  const char* held;   // the path of the request the sandbox holds; "" the print service's test
  std::vector<const char*> clicks;  // the last one starts the operation
  const char* idle;   // clicked while it runs: must do nothing
  const char* operation;
  std::vector<std::string> kept;  // written before the held request, kept after it
};

void PrintTo(const HeldCase& c, std::ostream* out) { *out << c.name; }

const HeldCase kHeld[] = {
    {"Acessar, the token held", false, "/token", {"btnLogin"}, "lbTitle", host::kLoggingIn, {}},
    {"Acessar, the categories held", false, "/categorias", {"btnLogin"}, "lbTitle",
     host::kLoggingIn, {}},
    {"Acessar, the cards held", false, "/configuracoes", {"btnLogin"}, "lbTitle", host::kLoggingIn,
     {"categoria", "quelta.dll"}},
    {"Atualizar, the categories held", true, "/categorias", {"btnConfig", "btnUpdate"},
     "btnUpdate", host::kUpdatingCategories, {}},
    {"Testar via the print service, its reply held", true, "",
     {"btnConfig", "btnTest", "Button5"}, "btnConfigBack", host::kPrintingTest, {}},
};

class HeldRequest : public sandbox_test::SandboxAppTest,
                    public testing::WithParamInterface<HeldCase> {
 protected:
  std::map<std::string, std::string> files() const {
    std::map<std::string, std::string> found;
    for (const char* name : {"quelta.dll", "categoria", "cartao", "impressora", "produto"})
      if (platform::fileExists(file(name))) found[name] = read(name);
    return found;
  }
};

TEST_P(HeldRequest, TheWindowAnswersAndACancelLeavesTheFilesAsTheyWere) {
  const HeldCase& c = GetParam();
  if (c.loggedIn)
    config::storeToken(dir.path(), sandbox.tokenFor(sandbox.production, kDemoQuery));
  // The print service answers its status at once and holds a test.
  write("impressora", "[{\"name\":\"COZINHA\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"}]");
  FakeService service;
  ASSERT_TRUE(service.listening());
  service.delay(std::chrono::milliseconds(0), std::chrono::minutes(2));
  const auto before = files();
  if (*c.held) sandbox.control(std::string("fail?kind=hang&path=") + c.held);

  app::MainWindow* window = nullptr;
  real_input::UiThread ui([&](const auto& ready) {
    app::MainWindow w(services, connections);
    window = &w;
    w.control("edtUser").setText("demo@quelta.com.br");
    w.control("edtPass").setText("quelta123");
    w.show();
    ready(w.hwnd());
    ui::runMessageLoop();
  });
  ASSERT_TRUE(ui.settles());
  for (const char* name : c.clicks) {
    // "Testar" goes through the print service.
    if (std::string(name) == "Button5") {
      window->combo("cbTestTipo").select(1);
      window->notifyChange("cbTestTipo");
    }
    postClick(ui.hwnd(), window->control(name).hwnd());
    if (name != c.clicks.back()) ASSERT_TRUE(ui.settles(5000)) << name;
  }

  const bool byEscape = c.loggedIn;  // the other cases click "Cancelar"
  const operation_watch::Watched watched = operation_watch::watchAndCancel(
      ui.hwnd(), window->control(c.idle).hwnd(), byEscape,
      [&](const std::vector<std::string>& labels) {
        return !labels.empty() && labels[0] == c.operation;
      });
  EXPECT_TRUE(watched.alwaysAnswered) << "the window did not answer within 1 s, " << watched.silence;
  ASSERT_TRUE(watched.boxOpened) << "no progress box";
  EXPECT_TRUE(watched.boxClosed) << "the progress box stayed open after the cancel";
  EXPECT_EQ(watched.boxLabels.front(), (std::vector<std::string>{c.operation, ""}));
  ASSERT_TRUE(ui.settles());

  EXPECT_TRUE(prompts.shown.empty()) << prompts.shown[0].text;
  EXPECT_EQ(window->control("edtUser").text(), "demo@quelta.com.br");
  int asked = 0;
  for (const std::string& request : sandbox.requests())
    asked += *c.held && request.find(std::string(" GET ") + c.held) != std::string::npos;
  for (const std::string& target : service.targets("GET"))
    asked += target.find("teste=") != std::string::npos;
  EXPECT_EQ(asked, 1) << "the click on the waiting window asked again";
  EXPECT_FALSE(platform::directoryExists(file("log"))) << "a test print was logged";
  auto after = files(), expected = before;
  for (const std::string& name : c.kept) {
    expected.erase(name);
    after.erase(name);
  }
  EXPECT_EQ(after, expected);
}

INSTANTIATE_TEST_SUITE_P(Operations, HeldRequest, testing::ValuesIn(kHeld));

}  // namespace
