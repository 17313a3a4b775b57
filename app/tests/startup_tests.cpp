#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "config/version.h"
#include "service/service_check.h"
#include "service/views/credentials_window.h"

namespace {

using Startup = AppTest;

// clang-format off
const std::vector<std::string> kAllSteps = {
    "hourglass",          "centre",         "application directory", "print-service check",
    "printer table",      "category table", "product table",         "card table",
    "settings migration", "settings read",  "screen choice",         "caption",
    "product printer choice", "log refresh"};
// clang-format on

TEST_F(Startup, FirstStartInAnEmptyDirectoryShowsTheLoginScreenWithEmptyTables) {
  // No print service yet: the check installs it from this directory.
  twins.serviceManager.serviceExists = [] { return false; };
  app::MainWindow window(services, connections);
  service::CredentialsWindow credentials;

  EXPECT_EQ(window.completedSteps(), kAllSteps);
  EXPECT_EQ(twins.process.launched,
            std::vector<std::string>{service::installerCommandLine(dir.path())});
  EXPECT_TRUE(window.control("gbLogin").visible());
  EXPECT_FALSE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbConfig").visible());
  EXPECT_EQ(window.caption(), std::string("Quelta Configura\xe7\xe3o - ") + config::kVersion);
  EXPECT_EQ(window.state().companyName, "QUELTA");
  EXPECT_EQ(window.state().token, "");
  EXPECT_EQ(window.state().tables.printers->count(), 0);
  EXPECT_EQ(window.state().tables.categories->count(), 0);
  EXPECT_EQ(window.state().tables.products->count(), 0);
  EXPECT_EQ(window.state().tables.cards, nullptr);
  EXPECT_EQ(window.list("lvImpressora").rowCount(), 0);
  EXPECT_EQ(window.combo("cbProdutoImpressora").count(), 0);
  // The hidden credentials window's creation wrote the reload flag, which
  // created the settings file.
  EXPECT_EQ(read("quelta.dll"), "[CONFIG]\r\nreload=S\r\n");
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(Startup, AStoredTokenShowsTheLogScreenAndTheCompanyNameIsRead) {
  write("quelta.dll", "[CONFIG]\r\ntoken=abc.def\r\nnomeEmpresa=Cantina do Z\xe9\r\n");
  app::MainWindow window(services, connections);
  EXPECT_FALSE(window.control("gbLogin").visible());
  EXPECT_TRUE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbConfig").visible());
  EXPECT_EQ(window.state().token, "abc.def");
  EXPECT_EQ(window.state().companyName, "Cantina do Z\xe9");
}

TEST_F(Startup, ATableFileThatIsNotAnArrayStopsTheSequenceInTheInitialState) {
  write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\n");
  write("impressora", "{\"name\":\"COZINHA\"}");
  app::MainWindow window(services, connections);

  ASSERT_EQ(prompts.texts("error").size(), 1u);
  EXPECT_EQ(prompts.texts("error")[0].rfind("A TJSONArray must start with \"[\"", 0), 0u)
      << prompts.texts("error")[0];
  std::vector<std::string> before(kAllSteps.begin(), kAllSteps.begin() + 4);
  EXPECT_EQ(window.completedSteps(), before);
  // The initial state: log screen, caption without the version, token unread.
  EXPECT_TRUE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbLogin").visible());
  EXPECT_FALSE(window.control("gbConfig").visible());
  EXPECT_EQ(window.caption(), "Quelta Configura\xe7\xe3o");
  EXPECT_EQ(window.state().token, "");
  EXPECT_EQ(window.state().tables.categories->count(), 0);
}

TEST_F(Startup, ConfigIniIsMigratedUnlessASettingsFileExists) {
  write("config.ini", "[CONFIG]\r\ntoken=old\r\n");
  {
    app::MainWindow window(services, connections);
    EXPECT_EQ(window.state().token, "old");
  }
  EXPECT_FALSE(platform::fileExists(file("config.ini")));
  EXPECT_EQ(read("quelta.dll"), "[CONFIG]\r\ntoken=old\r\n");

  write("config.ini", "[CONFIG]\r\ntoken=older\r\n");
  app::MainWindow window(services, connections);
  EXPECT_EQ(window.state().token, "old");
  EXPECT_EQ(read("config.ini"), "[CONFIG]\r\ntoken=older\r\n");
  EXPECT_EQ(read("quelta.dll"), "[CONFIG]\r\ntoken=old\r\n");
}

TEST_F(Startup, ConfigurationScreenIsReachedAndLeftFromTheLogScreen) {
  write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\n");
  app::MainWindow window(services, connections);
  window.click("btnConfig");
  EXPECT_TRUE(window.control("gbConfig").visible());
  EXPECT_FALSE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbLogin").visible());
  window.click("btnConfigBack");
  EXPECT_TRUE(window.control("gbLog").visible());
  EXPECT_FALSE(window.control("gbConfig").visible());
}

TEST_F(Startup, TheWindowHasTheFixedClientSizeAndPanelPlaces) {
  app::MainWindow window(services, connections);
  RECT client;
  GetClientRect(window.hwnd(), &client);
  EXPECT_EQ(client.right, 546);
  EXPECT_EQ(client.bottom, 577);
  LONG style = GetWindowLongA(window.hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  for (const char* panel : {"gbLogin", "gbLog", "gbConfig"}) {
    RECT r = window.control(panel).bounds();
    EXPECT_EQ(r.left, 8) << panel;
    EXPECT_EQ(r.top, 8) << panel;
    EXPECT_EQ(r.right - r.left, 529) << panel;
    EXPECT_EQ(r.bottom - r.top, 561) << panel;
  }
}

// The captions of the windows that Windows gives a task bar button: visible
// top-level windows that are unowned and no tool window, or that ask for one.
std::vector<std::string> taskBarButtons() {
  struct Found {
    static BOOL CALLBACK add(HWND hwnd, LPARAM lp) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      LONG ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
      bool button =
          (ex & WS_EX_APPWINDOW) || (!GetWindow(hwnd, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW));
      if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && button)
        reinterpret_cast<std::vector<std::string>*>(lp)->push_back(ui::Control(hwnd).text());
      return TRUE;
    }
  };
  std::vector<std::string> captions;
  EnumWindows(Found::add, reinterpret_cast<LPARAM>(&captions));
  return captions;
}

TEST_F(Startup, TheTaskBarShowsTheApplicationTitleAndMinimisingGoesThere) {
  ui::ApplicationWindow application;
  write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\n");
  app::MainWindow window(services, connections);
  window.show();
  EXPECT_EQ(window.caption(), std::string("Quelta Configura\xe7\xe3o - ") + config::kVersion);
  EXPECT_EQ(taskBarButtons(), std::vector<std::string>{"Quelta Configura\xe7\xe3o"});

  SendMessageA(window.hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(application.hwnd()));
  EXPECT_FALSE(IsWindowVisible(window.hwnd()));
  SendMessageA(application.hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(application.hwnd()));
  EXPECT_TRUE(IsWindowVisible(window.hwnd()));
}

}  // namespace
