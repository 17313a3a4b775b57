// The service control routines against Wine's real service control manager
// and the print service stand-in, queltaService.exe, installed from a
// temporary application directory (with a blank in its name). Every test
// removes the service again, so each one starts from a computer without it.
// winsock2.h must come before windows.h.
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "json/json.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "service/service_check.h"
#include "service/service_control.h"
#include "tests/support/eventually.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wine_host.h"

namespace {

using wine_host::readOr;
using wine_host::runAndWait;
using wine_host::windowsPath;

using Calls = std::vector<std::string>;
const std::string kName = "QueltaServicoImpressao";

struct Reply {
  int status = 0;
  std::string body;
};

// One request to the service's endpoint, HTTP/1.0 as the tool's load test
// sends it; status 0 when nothing answered.
Reply request(const std::string& method, const std::string& target, const std::string& body = "") {
  static bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  Reply reply;
  if (!started) return reply;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(7777);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    closesocket(s);
    return reply;
  }
  std::string text = method + " " + target + " HTTP/1.0\r\nHost: 127.0.0.1:7777\r\n";
  if (method == "POST")
    text +=
        "Content-Type: application/json; charset=utf-8\r\nContent-Encoding: utf-8\r\n"
        "Content-Length: " +
        std::to_string(body.size()) + "\r\n";
  text += "\r\n" + body;
  send(s, text.data(), static_cast<int>(text.size()), 0);
  std::string answer;
  char buffer[4096];
  int n;
  while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) answer.append(buffer, n);
  closesocket(s);
  size_t space = answer.find(' ');
  size_t end = answer.find("\r\n\r\n");
  if (space == std::string::npos || end == std::string::npos) return reply;
  reply.status = std::atoi(answer.c_str() + space + 1);
  reply.body = answer.substr(end + 4);
  return reply;
}

// The real manager, with every call recorded the way the portable tests'
// fake records them.
class RecordingManager : public platform::ServiceManager {
 public:
  Calls calls;
  std::vector<platform::ServiceStatus> seen;  // every status read, in order

  platform::ServiceHandle openManager(uint32_t rights) override {
    calls.push_back("openManager " + std::to_string(rights));
    return real_.openManager(rights);
  }
  platform::ServiceHandle openService(platform::ServiceHandle manager, const std::string& name,
                                      uint32_t rights) override {
    calls.push_back("openService " + name + " " + std::to_string(rights));
    platform::ServiceHandle h = real_.openService(manager, name, rights);
    if (h) services_.push_back(h);
    return h;
  }
  std::optional<platform::ServiceStatus> queryStatus(platform::ServiceHandle service) override {
    calls.push_back("query");
    auto status = real_.queryStatus(service);
    if (status) seen.push_back(*status);
    return status;
  }
  bool start(platform::ServiceHandle service) override {
    calls.push_back("start");
    return real_.start(service);
  }
  bool controlStop(platform::ServiceHandle service,
                   std::optional<platform::ServiceStatus>& reported) override {
    bool accepted = real_.controlStop(service, reported);
    calls.push_back(accepted ? "stop" : "stop refused");
    if (reported) seen.push_back(*reported);
    return accepted;
  }
  void close(platform::ServiceHandle handle) override {
    bool isService = false;
    for (auto h : services_) isService |= h == handle;
    calls.push_back(isService ? "close service" : "close manager");
    real_.close(handle);
  }
  void sleep(uint32_t ms) override {
    calls.push_back("sleep");
    real_.sleep(ms);
  }
  uint64_t milliseconds() override { return real_.milliseconds(); }

  int count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

 private:
  platform::ServiceManager& real_ = platform::systemServiceManager();
  std::vector<platform::ServiceHandle> services_;
};

class PrintServiceOnWine : public testing::Test {
 protected:
  void SetUp() override {
    // Installed as the restaurant installs it: accents and blanks in the name.
    appDir_ = temp_.file("Quelta Impress\xe3o");
    ASSERT_TRUE(CreateDirectoryA(appDir_.c_str(), nullptr));
    program_ = appDir_ + "\\queltaService.exe";
    ASSERT_TRUE(CopyFileA(windowsPath(QUELTA_SERVICE_EXE).c_str(), program_.c_str(), FALSE));
    // A service left by an earlier run would make the first query lie.
    runAndWait("\"" + program_ + "\" /UNINSTALL /SILENT");
    ASSERT_TRUE(eventually([] { return queryState() == -1; }));
  }

  void TearDown() override {
    service::stopServiceAndWait(platform::systemServiceManager(), kName);
    EXPECT_EQ(runAndWait("\"" + program_ + "\" /UNINSTALL /SILENT"), 0);
    EXPECT_TRUE(eventually([] { return queryState() == -1; }));
    // The stopped service's process must let go of its files before the
    // directory goes.
    eventually([] { return request("GET", "/?status").status == 0; }, 5);
  }

  static int32_t queryState() {
    return service::queryServiceState(platform::systemServiceManager(), kName);
  }

  void install() { ASSERT_EQ(runAndWait("\"" + program_ + "\" /INSTALL /SILENT"), 0); }

  std::string file(const std::string& name) const { return appDir_ + "\\" + name; }
  std::string log() const { return wine_host::dayLogs(appDir_); }

  TempDir temp_;
  std::string appDir_;
  std::string program_;
};

}  // namespace

TEST_F(PrintServiceOnWine, CheckInstallsAndStartsTheServiceThenOnlyQueries) {
  RecordingManager first;
  Calls launched;
  service::checkPrintService(first, appDir_, [&](const std::string& commandLine) {
    launched.push_back(commandLine);
    return platform::launchHidden(commandLine);
  });
  EXPECT_EQ(launched, Calls{"\"" + program_ + "\" /INSTALL /SILENT"});
  EXPECT_EQ(first.count("start"), 1);
  ASSERT_TRUE(eventually([] { return queryState() == 4; })) << queryState();
  ASSERT_TRUE(eventually([] { return request("GET", "/?status").status == 200; }));
  Reply status = request("GET", "/?status");
  EXPECT_EQ(status.body, "{\"success\":true}");

  // Running now: the second check asks and does nothing else.
  RecordingManager second;
  service::checkPrintService(second, appDir_, [&](const std::string& commandLine) {
    launched.push_back(commandLine);
    return true;
  });
  EXPECT_EQ(launched.size(), 1u);
  EXPECT_EQ(second.calls, (Calls{"openManager 1", "openService QueltaServicoImpressao 4", "query",
                                 "close service", "close manager"}));
  std::string text = log();
  EXPECT_NE(text.find(" : Servico instalado: " + program_ + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" : Servico iniciado\r\n"), std::string::npos) << text;
}

TEST_F(PrintServiceOnWine, RestartOfAStoppedAndOfARunningService) {
  install();
  EXPECT_EQ(queryState(), 1);
  // Installing again keeps the registration and succeeds.
  install();
  EXPECT_EQ(queryState(), 1);
  EXPECT_NE(log().find(" : Servico ja instalado, atualizado: " + program_ + "\r\n"),
            std::string::npos);

  // Stopped: the stop is refused, nothing is awaited, the start follows.
  RecordingManager stopped;
  service::restartPrintService(stopped);
  EXPECT_EQ(stopped.count("stop refused"), 1);
  EXPECT_EQ(stopped.count("sleep"), 0);
  EXPECT_EQ(stopped.count("start"), 1);
  ASSERT_TRUE(eventually([] { return queryState() == 4; }));

  // Running: the stop is awaited through the service's rising checkpoints
  // until it reports stopped.
  RecordingManager running;
  EXPECT_TRUE(service::stopServiceAndWait(running, kName));
  EXPECT_EQ(running.count("stop"), 1);
  EXPECT_GE(running.count("sleep"), 1);
  ASSERT_FALSE(running.seen.empty());
  EXPECT_EQ(running.seen.back().state, 1);
  uint32_t checkpoint = 0;
  for (const auto& s : running.seen) {
    if (s.state != 3) continue;
    EXPECT_GE(s.checkpoint, checkpoint);
    EXPECT_GT(s.waitHint, 0u);
    checkpoint = s.checkpoint;
  }
  EXPECT_EQ(running.calls.back(), "close manager");
  EXPECT_EQ(queryState(), 1);

  EXPECT_EQ(service::startServiceIfNeeded(platform::systemServiceManager(), kName), 1);
  ASSERT_TRUE(eventually([] { return queryState() == 4; }));
  service::restartPrintService(platform::systemServiceManager());
  ASSERT_TRUE(eventually([] { return queryState() == 4; }));
  ASSERT_TRUE(eventually([] { return request("GET", "/?status").body == "{\"success\":true}"; }));
  EXPECT_NE(log().find(" : Servico parado"), std::string::npos);
}

TEST_F(PrintServiceOnWine, ServiceThatIsNotInstalled) {
  EXPECT_EQ(queryState(), -1);
  RecordingManager manager;
  EXPECT_EQ(service::startServiceIfNeeded(manager, kName), -1);
  EXPECT_FALSE(service::stopServiceAndWait(manager, kName));
  EXPECT_EQ(manager.calls,
            (Calls{"openManager 1", "openService QueltaServicoImpressao 20", "close manager",
                   "openManager 1", "openService QueltaServicoImpressao 36", "close manager"}));
}

TEST_F(PrintServiceOnWine, OrdersAreQueuedAndLoggedAndTestPagesPrinted) {
  platform::writeFileReplacing(
      file("impressora"),
      "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\","
      "\"fonteTitulo\":\"14 Negrito\",\"fonteItem\":\"12\"},"
      "{\"name\":\"Bar\",\"tipo\":\"Outro\",\"padrao\":\"N\xe3o\",\"fonteTitulo\":\"10\","
      "\"fonteItem\":\"10\"}]");
  platform::writeFileReplacing(file("categoria"),
                               "[{\"id\":12,\"name\":\"Pratos\",\"printer\":\"Cozinha\"},"
                               "{\"id\":13,\"name\":\"Bebidas\",\"printer\":\"Bar\"}]");
  install();
  ASSERT_EQ(service::startServiceIfNeeded(platform::systemServiceManager(), kName), 1);
  ASSERT_TRUE(eventually([] { return request("GET", "/?status").status == 200; }));

  // The order in UTF-8 ("Caf\u00e9"), as the tool posts it.
  Reply posted =
      request("POST", "/",
              "{\"table\":7, \"card\":7, \"items\":[{\"qtd\":\"1\", \"category\":\"12\", "
              "\"title\":\"ITEM 01 DESCRICAO\", \"attr\":[\"  >> Opcional Descricao\"]}, "
              "{\"qtd\":\"2\", \"category\":\"13\", \"title\":\"Caf\xc3\xa9\", "
              "\"attr\":[]}]}");
  EXPECT_EQ(posted.status, 200);
  ASSERT_TRUE(eventually([&] { return readOr(file("service-orders.txt")) == "1"; }));
  std::string queueText = readOr(file("fila"));
  EXPECT_EQ(queueText.find('\n'), std::string::npos);
  json::TJSONObject queue(queueText);
  ASSERT_EQ(queue.names(), (std::vector<std::string>{"Cozinha", "Bar"}));
  json::TJSONArray& kitchen = queue.objectOf("Cozinha").arrayOf("fila");
  ASSERT_EQ(kitchen.count(), 1);
  json::TJSONArray& job = kitchen.arrayAt(0);
  ASSERT_EQ(job.count(), 5);
  EXPECT_EQ(job.objectAt(0).textOf("text"), "Mesa: 7");
  EXPECT_EQ(job.objectAt(0).textOf("fonte"), "14 Negrito");
  EXPECT_EQ(job.objectAt(1).textOf("text"), "Cartao: 7");
  EXPECT_EQ(job.objectAt(3).textOf("text"), "1 ITEM 01 DESCRICAO");
  EXPECT_EQ(job.objectAt(4).textOf("text"), "  >> Opcional Descricao");
  EXPECT_EQ(job.objectAt(4).intOf("tipo"), 2);
  json::TJSONArray& bar = queue.objectOf("Bar").arrayOf("fila");
  ASSERT_EQ(bar.count(), 1);
  EXPECT_EQ(bar.arrayAt(0).count(), 4);
  EXPECT_EQ(bar.arrayAt(0).objectAt(3).textOf("text"), "2 Caf\xe9");
  EXPECT_NE(
      log().find(" : Pedido recebido: mesa 7, cartao 7, 2 itens, 2 impressoras (total 1)\r\n"),
      std::string::npos)
      << log();

  // Not an order: refused, logged, not counted.
  EXPECT_EQ(request("POST", "/", "{\"table\":").status, 400);
  EXPECT_NE(log().find(" : Erro ao receber pedido: ParseException - "), std::string::npos);

  // Test pages: by position in the printer table.
  EXPECT_EQ(request("GET", "/?teste=1").body, "{\"success\":true}");
  std::string capture = readOr(file("service-capture.txt"));
  EXPECT_EQ(capture.rfind("=== Bar (Outro) ===\r\nQUELTA\r\nTESTE DE IMPRESSAO DO SERVICO\r\n", 0),
            0u)
      << capture;
  EXPECT_EQ(request("GET", "/?teste=2").body, "{\"success\":false}");
  EXPECT_EQ(request("GET", "/?teste=x").body, "{\"success\":false}");
  EXPECT_NE(log().find(" : Teste Impresso Service: Bar\r\n"), std::string::npos);

  // "reload": new tables are read, and the key goes back to "N".
  platform::writeFileReplacing(
      file("impressora"),
      "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"},"
      "{\"name\":\"Bar\",\"tipo\":\"Outro\"},{\"name\":\"Caixa\",\"tipo\":\"Generic Text\"},"
      "{\"name\":\"Balcao\",\"tipo\":\"EPSON DLL\",\"endereco\":\"USB\"}]");
  platform::writeFileReplacing(file("quelta.dll"),
                               "[CONFIG]\r\nreload=S\r\nnomeEmpresa=Cantina\r\n");
  EXPECT_EQ(request("GET", "/?teste=2").body, "{\"success\":true}");
  EXPECT_NE(readOr(file("service-capture.txt")).find("=== Caixa (Generic Text) ===\r\nCantina\r\n"),
            std::string::npos);
  EXPECT_NE(readOr(file("quelta.dll")).find("reload=N"), std::string::npos);

#ifdef QUELTA_EPSON_DLL
  ASSERT_TRUE(CopyFileA(windowsPath(QUELTA_EPSON_DLL).c_str(), file("InterfaceEpsonNF.dll").c_str(),
                        FALSE));
  EXPECT_EQ(request("GET", "/?teste=3").body, "{\"success\":true}");
  std::string epson = readOr(file("epson-capture.txt"));
  EXPECT_NE(epson.find("IniciaPorta"), std::string::npos) << epson;
  EXPECT_NE(epson.find("Cantina\nTESTE DE IMPRESSAO DO SERVICO\nImpressora: Balcao\n"),
            std::string::npos)
      << epson;
  EXPECT_NE(epson.find("AcionaGuilhotina"), std::string::npos);
  // The library failing its print: the test is reported as failed.
  platform::writeFileReplacing(file("epson-control.txt"), "ImprimeTextoTag\r\n");
  EXPECT_EQ(request("GET", "/?teste=3").body, "{\"success\":false}");
  EXPECT_NE(log().find(" : Erro no teste via servico em Balcao: ImprimeTextoTag falhou\r\n"),
            std::string::npos);
#else
  // Without the library beside the service, the Epson test page fails.
  EXPECT_EQ(request("GET", "/?teste=3").body, "{\"success\":false}");
#endif

  // The queue survives a restart of the service.
  service::restartPrintService(platform::systemServiceManager());
  ASSERT_TRUE(eventually([] { return request("GET", "/?status").status == 200; }));
  request("POST", "/",
          "{\"table\":8,\"card\":8,\"items\":[{\"qtd\":\"1\",\"category\":\"12\","
          "\"title\":\"X\",\"attr\":[]}]}");
  ASSERT_TRUE(eventually([&] { return readOr(file("service-orders.txt")) == "2"; }));
  json::TJSONObject after(readOr(file("fila")));
  EXPECT_EQ(after.objectOf("Cozinha").arrayOf("fila").count(), 2);
}

TEST_F(PrintServiceOnWine, ABurstOfAThousandOrdersIsCountedWhole) {
  platform::writeFileReplacing(
      file("impressora"), "[{\"name\":\"Cozinha\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"}]");
  install();
  service::startServiceIfNeeded(platform::systemServiceManager(), kName);
  ASSERT_TRUE(eventually([] { return request("GET", "/?status").status == 200; }));
  std::atomic<int> answered{0};
  std::vector<std::thread> senders;
  for (int t = 0; t < 40; ++t)
    senders.emplace_back([t, &answered] {
      for (int n = t + 1; n <= 1000; n += 40) {
        std::string order =
            "{\"table\":" + std::to_string(n) + ",\"card\":" + std::to_string(n) + ",\"items\":[]}";
        if (request("POST", "/", order).status == 200) ++answered;
      }
    });
  for (auto& s : senders) s.join();
  EXPECT_EQ(answered, 1000);
  EXPECT_TRUE(eventually([&] { return readOr(file("service-orders.txt")) == "1000"; }))
      << readOr(file("service-orders.txt"));
  EXPECT_NE(log().find("(total 1000)\r\n"), std::string::npos);
}
