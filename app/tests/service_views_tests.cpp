// The window and the print service stand-in under the real service control
// manager: the start-up check installs and starts it, "Reiniciar Servidor"
// restarts it running or stopped, the log screen follows it, and the test
// box's service request and load test reach it.
#include "app/tests/service_endpoint.h"
// (first: httplib brings winsock2.h, which must precede windows.h)

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "platform/process.h"
#include "service/service_check.h"
#include "service/service_control.h"
#include "service/test_ws.h"
#include "tests/support/eventually.h"
#include "tests/support/wine_host.h"

namespace {

using Lines = std::vector<std::string>;
using endpoint_test::readOr;

const std::string kName = "QueltaServicoImpressao";
const char kOnline[] = "Log do servidor (Online)";
const char kOffline[] = "Log do servidor (Offline)";

int32_t queryState() { return service::queryServiceState(platform::systemServiceManager(), kName); }

bool contains(const Lines& lines, const std::string& part) {
  for (const std::string& line : lines)
    if (line.find(part) != std::string::npos) return true;
  return false;
}

class ServiceOnWine : public AppTest {
 protected:
  ServiceOnWine() {
    program = file("queltaService.exe");
    EXPECT_TRUE(
        CopyFileA(endpoint_test::windowsPath(QUELTA_SERVICE_EXE).c_str(), program.c_str(), FALSE));
    // A service left by an earlier run would make the first query lie.
    endpoint_test::runAndWait("\"" + program + "\" /UNINSTALL /SILENT");
    EXPECT_TRUE(eventually([] { return queryState() == -1; }, 20, ui::pumpMessages));
    write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\n");
    write("impressora",
          "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"},"
          "{\"name\":\"Bar\",\"tipo\":\"Outro\",\"padrao\":\"N\xe3o\"},"
          "{\"name\":\"Caixa\",\"tipo\":\"Generic Text\",\"padrao\":\"N\xe3o\"}]");
    write("categoria",
          "[{\"id\":12,\"name\":\"Pratos\",\"printer\":\"Cozinha\"},"
          "{\"id\":13,\"name\":\"Massas\",\"printer\":\"Cozinha\"},"
          "{\"id\":20,\"name\":\"Bebidas\",\"printer\":\"Bar\"}]");
    // The real service, installed by the real launch, writes its day log
    // under the computer's date.
    services.serviceManager = &platform::systemServiceManager();
    services.process = &platform::systemProcess();
    services.clock = &platform::systemClock();
  }

  ~ServiceOnWine() override {
    service::stopServiceAndWait(platform::systemServiceManager(), kName);
    EXPECT_EQ(endpoint_test::runAndWait("\"" + program + "\" /UNINSTALL /SILENT"), 0);
    EXPECT_TRUE(eventually([] { return queryState() == -1; }, 20, ui::pumpMessages));
    // The stopped service's process lets go of the directory before it goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
  }

  void install() {
    ASSERT_EQ(endpoint_test::runAndWait("\"" + program + "\" /INSTALL /SILENT"), 0);
  }

  // Refreshes the log screen until the caption reads `caption`.
  static bool captionBecomes(app::MainWindow& window, const std::string& caption) {
    return eventually(
        [&] {
          window.click("Button1");
          return window.control("Label1").text() == caption;
        },
        20, ui::pumpMessages);
  }

  // How often the service has logged that it stopped.
  size_t stopsLogged() const {
    const std::string text = wine_host::dayLogs(dir.path());
    size_t n = 0;
    for (size_t at = 0; (at = text.find(" : Servico parado", at)) != std::string::npos; ++at) ++n;
    return n;
  }

  std::string program;
};

}  // namespace

TEST_F(ServiceOnWine, FirstStartInstallsTheServiceAndTheLogScreenFollowsIt) {
  app::MainWindow window(services, connections);
  ASSERT_TRUE(eventually([] { return queryState() == 4; }, 20, ui::pumpMessages)) << queryState();
  ASSERT_TRUE(captionBecomes(window, kOnline));

  // "Via Servico" on the third printer: the service prints its own test
  // page there and says so in the day's log, which the screen then shows.
  window.click("btnConfig");
  window.click("btnTest");
  window.combo("cbTestTipo").select(1);
  window.notifyChange("cbTestTipo");
  window.combo("cbTestImp").select(2);
  window.click("Button5");
  EXPECT_EQ(prompts.texts(), Lines{"Teste Enviado."});
  EXPECT_NE(readOr(file("service-capture.txt")).find("=== Caixa (Generic Text) ==="),
            std::string::npos);

  // A load test of three orders, queued by the service under the printers
  // of the two routed categories.
  window.combo("cbTestTipo").select(2);
  window.notifyChange("cbTestTipo");
  window.control("edtTestQtd").setText("3");
  window.click("Button5");
  window.testView().loadTest().waitIdle();
  ASSERT_TRUE(
      eventually([&] { return readOr(file("service-orders.txt")) == "3"; }, 20, ui::pumpMessages));

  window.click("btnConfigBack");
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOnline);
  Lines log = window.memo("Memo1").lines();
  EXPECT_TRUE(contains(log, " : Teste Impresso Service: Caixa")) << log.size();
  EXPECT_TRUE(contains(log, "(total 3)"));
  Lines queue = window.memo("Memo2").lines();
  ASSERT_FALSE(queue.empty());
  EXPECT_EQ(queue[0], "Fila para: Cozinha");
  EXPECT_TRUE(contains(queue, "Fila para: Bar"));
  EXPECT_TRUE(contains(queue, "Mesa: 3"));
  EXPECT_FALSE(contains(queue, "Fila para: Caixa"));

  // Stopped: offline, while the log and the queue are still read.
  EXPECT_TRUE(service::stopServiceAndWait(platform::systemServiceManager(), kName));
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOffline);
  EXPECT_TRUE(contains(window.memo("Memo1").lines(), " : Servico parado"));
  EXPECT_EQ(window.memo("Memo2").lines(), queue);
  EXPECT_EQ(prompts.texts(), Lines({"Teste Enviado.", "Teste Enviado."}));
}

TEST_F(ServiceOnWine, RestartOfAStoppedAndOfARunningService) {
  install();
  ASSERT_EQ(queryState(), 1);
  app::MainWindow window(services, connections);
  // The start-up check started the installed service; stopped again, it is
  // a stopped service that "Reiniciar Servidor" finds.
  ASSERT_TRUE(eventually([] { return queryState() == 4; }, 20, ui::pumpMessages)) << queryState();
  ASSERT_TRUE(service::stopServiceAndWait(platform::systemServiceManager(), kName));
  window.click("Button1");
  EXPECT_EQ(window.control("Label1").text(), kOffline);

  // Stopped: nothing to wait for, the start is asked for.
  window.click("btnConfig");
  window.click("btnRestart");
  ASSERT_TRUE(eventually([] { return queryState() == 4; }, 20, ui::pumpMessages)) << queryState();
  ASSERT_TRUE(captionBecomes(window, kOnline));

  // Running: the click returns once the service has stopped, and it is
  // started again.
  const size_t stopsBefore = stopsLogged();
  window.click("btnRestart");
  const int32_t afterClick = queryState();
  EXPECT_TRUE(afterClick == 2 || afterClick == 4) << afterClick;
  EXPECT_EQ(stopsLogged(), stopsBefore + 1);
  ASSERT_TRUE(eventually([] { return queryState() == 4; }, 20, ui::pumpMessages)) << queryState();
  ASSERT_TRUE(captionBecomes(window, kOnline));
  EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ServiceOnWine, AThousandLoadTestOrdersAllReachTheService) {
  install();
  service::startServiceIfNeeded(platform::systemServiceManager(), kName);
  ASSERT_TRUE(eventually([] { return queryState() == 4; }, 20, ui::pumpMessages));
  app::MainWindow window(services, connections);
  ASSERT_TRUE(captionBecomes(window, kOnline));
  window.click("btnConfig");
  window.click("btnTest");
  window.combo("cbTestTipo").select(2);
  window.notifyChange("cbTestTipo");
  window.control("edtTestQtd").setText("1000");

  const auto start = std::chrono::steady_clock::now();
  window.click("Button5");
  const double clickSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  window.testView().loadTest().waitIdle();
  const double sendSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(eventually([&] { return readOr(file("service-orders.txt")) == "1000"; }, 60,
                         ui::pumpMessages))
      << readOr(file("service-orders.txt"));
  EXPECT_EQ(prompts.texts(), Lines{"Teste Enviado."});
  EXPECT_LE(window.testView().loadTest().mostWorkersSeen(), service::TestWS::kMostInFlight);

  RecordProperty("click_seconds", std::to_string(clickSeconds));
  RecordProperty("orders_per_second", std::to_string(1000 / sendSeconds));
  std::printf(
      "load test: 1000 orders sent in %.2f s (%.0f orders/s), window back after %.3f s, "
      "service counted %s\n",
      sendSeconds, 1000 / sendSeconds, clickSeconds, readOr(file("service-orders.txt")).c_str());
}
