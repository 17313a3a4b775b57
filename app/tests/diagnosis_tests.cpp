// The diagnosis under Wine: one table of set-ups, each with the lines it
// must give (verdict, check and the start of the result); the support
// package's entries; the window opened from the log screen.
// The raw test server (winsock2.h) before windows.h.
#include "net/tests/test_servers.h"

#include <gtest/gtest.h>

#include <ctime>

#include "app/tests/sandbox_cloud.h"
#include "config/settings.h"
#include "config/version.h"
#include "diagnosis/checks.h"
#include "diagnosis/printer_status.h"
#include "diagnosis/report.h"
#include "diagnosis/support_package.h"
#include "diagnosis/views/diagnosis_window.h"
#include "service/service_endpoint.h"
#include "ui/clipboard.h"
#include "release/release_files.h"
#include "tests/support/signing_key.h"
#include "update/update.h"
#include "update/update_archive.h"

namespace {

using diagnosis::CheckLine;

std::string lineText(const CheckLine& line) {
  return std::string(diagnosis::verdictText(line.verdict)) + " | " + line.check + " | " +
         line.result + (line.action.empty() ? "" : " | " + line.action) +
         (line.detail.empty() ? "" : " | " + line.detail);
}

// Where the fake receipt printer's Standard TCP/IP port is configured.
const std::string kPortKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\"
    "IP_127.0.0.1";

// The Epson library the advice names has the program's own bitness.
const std::string kProgramBits = std::to_string(sizeof(void*) * 8) + " bits";

class Diagnosis : public sandbox_test::SandboxAppTest {
 public:
  // The set-ups of the table reach these through the fixture.
  using AppTest::dir;
  using AppTest::file;
  using AppTest::services;
  using AppTest::twins;
  using AppTest::write;
  using SandboxAppTest::kDemoQuery;
  using SandboxAppTest::sandbox;

  // A working restaurant: the service runs and answers, COZINHA is shared
  // under its name, the routes lead to it, a token is stored and the cloud
  // accepts it.
  void SetUp() override {
    SandboxAppTest::SetUp();
    services.http = &twins.http;
    write("impressora", "[{\"name\":\"COZINHA\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\"}]");
    write("categoria",
          "[{\"id\":1,\"name\":\"Por\xe7\xf5"
          "es\",\"printer\":\"COZINHA\"}]");
    write("produto", "[]");
    config::storeToken(dir.path(), "prd.token-da-loja");
    twins.printers.list = {"Impressora da cozinha"};
    platform::SpoolerPrinter shared;
    shared.name = "Impressora da cozinha";
    shared.shareName = "COZINHA";
    twins.printers.states = {shared};
    twins.http.answer(service::kStatusUrl, "{\"success\":true}");
    twins.http.answer(api.production + "/categorias?token=prd.token-da-loja&all=1",
                      "{\"success\":true,\"data\":[]}");
  }

  // The download host's manifest, signed with the key the set-up trusts, or
  // forged: signed with another.
  void offer(const std::string& manifest, bool forged = false) {
    updates = {true, "https://download.exemplo/impressao/version.json", "",
               release::publicKeyOf(key)};
    twins.http.answer(updates.manifestUrl, manifest);
    twins.http.answer(updates.manifestUrl + ".sig",
                      release::signManifest(manifest, forged ? signing_test::newPrivateKey() : key));
  }

  ~Diagnosis() override {
    if (printerPort) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPortKey.c_str());
  }

  // A receipt printer on 127.0.0.1 answering the status request with
  // `answer` (silent when empty), or, unless it `listens`, a closed port.
  // COZINHA's Windows printer prints to it through a raw Standard TCP/IP
  // port, configured in the registry as Windows keeps it. Its port number.
  int networkPrinter(const std::string& answer, bool listens = true) {
    printer = std::make_unique<net_test::RawServer>([this, answer](net_test::RawConnection& c) {
      received += c.receive(diagnosis::kStatusRequest.size());
      if (answer.empty())
        c.stayQuiet();
      else
        c.send(answer);
    });
    printerPort = printer->port();
    if (!listens) printer.reset();
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPortKey.c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    const DWORD port = static_cast<DWORD>(printerPort), raw = 1;
    RegSetValueExA(key, "HostName", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
    RegSetValueExA(key, "IPAddress", 0, REG_SZ, reinterpret_cast<const BYTE*>("127.0.0.1"), 10);
    RegSetValueExA(key, "PortNumber", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&port), 4);
    RegSetValueExA(key, "Protocol", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&raw), 4);
    RegCloseKey(key);
    twins.printers.states[0].portName = "IP_127.0.0.1";
    services.network = &platform::systemNetworkPrinters();
    return printerPort;
  }

  // Each line as text; the fake printer's port reads "porta".
  std::vector<std::string> run() {
    diagnosis::Setup setup{dir.path(), services, api, updates};
    std::vector<std::string> lines;
    const std::string at = "127.0.0.1:" + std::to_string(printerPort);
    for (const diagnosis::Check& check : diagnosis::allChecks())
      for (const CheckLine& line : check.run(setup, {})) {
        lines.push_back(lineText(line));
        if (size_t p = lines.back().find(at); printerPort && p != std::string::npos)
          lines.back().replace(p, at.size(), "127.0.0.1:porta");
      }
    return lines;
  }

  std::unique_ptr<net_test::RawServer> printer;
  int printerPort = 0;
  std::string received;  // by the printer

  cloud::ApiEndpoints api{"https://api.exemplo", "https://stage.exemplo"};
  const std::string key = signing_test::newPrivateKey();
  update::UpdateSource updates = update::UpdateSource::none();
};

struct SetUpCase {
  const char* name;
  std::function<void(Diagnosis&)> prepare;
  std::vector<std::string> expected;  // each the start of a line given
};

void PrintTo(const SetUpCase& c, std::ostream* out) { *out << c.name; }

class DiagnosisSetUps : public Diagnosis, public testing::WithParamInterface<SetUpCase> {};

// What the fake printer's lines end with.
const std::string kAnswered = " | Pedido de estado em 127.0.0.1:porta, resposta (hexadecimal): ";
const std::string kUnanswered =
    "Aten\xe7\xe3o | Impressora COZINHA | A impressora n\xe3o respondeu ao pedido de estado | Se "
    "os pedidos saem, ignore (ela pode estar ocupada com o servi\xe7o); sen\xe3o, confira se "
    "est\xe1 ligada e no cabo de rede | Pedido de estado em 127.0.0.1:porta: ";

const SetUpCase kSetUps[] = {
    {"a working restaurant",
     [](Diagnosis&) {},
     {"OK | Servi\xe7o de impress\xe3o | Instalado e em execu\xe7\xe3o",
      "OK | Servi\xe7o responde em 127.0.0.1:7777 | Respondeu em ",
      "OK | Impressora COZINHA | Pronta no Windows (estado do Windows)",
      "OK | Direcionamento | Categorias e produtos v\xe3o para impressoras cadastradas",
      "OK | Arquivos de configura\xe7\xe3o | ", "OK | Pasta do programa | Aceita arquivos novos",
      "OK | Plataforma de pedidos | Login v\xe1lido; respondeu em ",
      "OK | Fila do servi\xe7o | Nenhum pedido esperando",
      "OK | Vers\xe3o | Esta ferramenta: " + std::string(config::kVersion) +
          "; nenhum endere\xe7o de atualiza\xe7\xe3o configurado"}},
    {"service stopped",
     [](Diagnosis& t) {
       t.twins.serviceManager.queries = {FakeServiceManager::status(platform::kServiceStopped)};
       t.twins.http.answer(service::kStatusUrl, "not json");
     },
     {"Erro | Servi\xe7o de impress\xe3o | O servi\xe7o de impress\xe3o est\xe1 parado",
      "Erro | Servi\xe7o responde em 127.0.0.1:7777 | O servi\xe7o n\xe3o atende: "}},
    {"service hung",
     [](Diagnosis& t) {
       t.twins.http.hold(true);
       t.twins.http.keepTimeLimits(true);
     },
     {"Erro | Servi\xe7o responde em 127.0.0.1:7777 | O servi\xe7o n\xe3o respondeu em 2,5 s",
      "Erro | Plataforma de pedidos | Sem resposta da plataforma: EIdReadTimeout"}},
    {"Epson library missing",
     [](Diagnosis& t) {
       t.write("impressora", "[{\"name\":\"CAIXA\",\"tipo\":\"EPSON DLL\",\"padrao\":\"Sim\"}]");
       t.write("categoria", "[]");
     },
     {"Erro | Impressora CAIXA | A biblioteca InterfaceEpsonNF.dll n\xe3o est\xe1 na pasta do "
      "programa | Copie InterfaceEpsonNF.dll (" + kProgramBits + ") da instala\xe7\xe3o"}},
    {"Epson library without a function",
     [](Diagnosis& t) {
       t.write("impressora", "[{\"name\":\"CAIXA\",\"tipo\":\"EPSON DLL\",\"padrao\":\"Sim\"}]");
       t.write("InterfaceEpsonNF.dll", "MZ");
       t.twins.epson.missing = "AcionaGuilhotina";
     },
     {"Erro | Impressora CAIXA | A biblioteca InterfaceEpsonNF.dll n\xe3o tem as fun\xe7\xf5"
      "es AcionaGuilhotina"}},
    {"a damaged table file",
     [](Diagnosis& t) { t.write("categoria", "[{\"id\":1,"); },
     {"Erro | Arquivo categoria | O arquivo categoria est\xe1 danificado: "}},
    {"a category routed to a removed printer",
     [](Diagnosis& t) {
       t.write("categoria",
               "[{\"id\":1,\"name\":\"Bebidas\",\"printer\":\"BAR\"},"
               "{\"id\":2,\"name\":\"Sobremesas\"}]");
     },
     {"Erro | Direcionamento | A categoria Bebidas vai para a impressora BAR, que n\xe3o est\xe1 "
      "cadastrada",
      "Aten\xe7\xe3o | Direcionamento | Categorias sem impressora: Sobremesas"}},
    {"a printer paused in Windows, no default, two of one name",
     [](Diagnosis& t) {
       t.twins.printers.states[0].paused = true;
       t.write("impressora",
               "[{\"name\":\"COZINHA\",\"tipo\":\"Generic Text\"},"
               "{\"name\":\"cozinha\",\"tipo\":\"Generic Text\"}]");
     },
     {"Erro | Impressora COZINHA | A impressora COZINHA est\xe1 pausada no Windows",
      "Erro | Direcionamento | Duas impressoras com o nome cozinha",
      "Aten\xe7\xe3o | Direcionamento | Nenhuma impressora est\xe1 marcada como padr\xe3o"}},
    {"the sandbox cloud's clock 10 minutes ahead",
     [](Diagnosis& t) {
       t.services.http = &net::systemHttp();
       t.api = {t.sandbox.production, t.sandbox.staging};
       config::storeToken(t.dir.path(),
                          t.sandbox.tokenFor(t.sandbox.production, Diagnosis::kDemoQuery));
       t.sandbox.control("clock?offset=600");
       t.twins.clock.setUtc(static_cast<int64_t>(std::time(nullptr)));
     },
     {"OK | Plataforma de pedidos | Login v\xe1lido; respondeu em ",
      "Erro | Rel\xf3gio do computador | O rel\xf3gio est\xe1 10 minutos atrasado em "
      "rela\xe7\xe3o "
      "ao servidor"}},
    {"an expired login",
     [](Diagnosis& t) {
       t.services.http = &net::systemHttp();
       t.api = {t.sandbox.production, t.sandbox.staging};
       t.twins.clock.setUtc(static_cast<int64_t>(std::time(nullptr)));
     },
     {"Erro | Plataforma de pedidos | O login foi recusado: Token inv\xe1lido ou expirado.",
      "OK | Rel\xf3gio do computador | Diferen\xe7"
      "a de "}},
    {"a queue order 20 minutes old",
     [](Diagnosis& t) {
       t.write("fila",
               "{\"COZINHA\":{\"fila\":[[{\"text\":\"Mesa 4\",\"tipo\":0,\"fonte\":\"\"}]]}}");
       t.twins.clock.setUtc(*platform::fileModifiedUtc(t.file("fila")) + 20 * 60);
     },
     {"Aten\xe7\xe3o | Fila do servi\xe7o | 1 pedido espera; a fila n\xe3o anda h\xe1 20 "
      "minutos"}},
    {"a newer version published",
     [](Diagnosis& t) {
       t.offer(release::releaseManifest("9.0.0", "", 8, "2100-01-01T00:00:00Z"));
     },
     {"Aten\xe7\xe3o | Vers\xe3o | Esta ferramenta: " + std::string(config::kVersion) +
      "; publicada: 9.0.0"}},
    // An offer the update would refuse is no offer: what failed, as "Erro".
    {"a forged offer",
     [](Diagnosis& t) {
       t.offer(release::releaseManifest("9.0.0", "", 8, "2100-01-01T00:00:00Z"), true);
     },
     {"Erro | Vers\xe3o | Esta ferramenta: " + std::string(config::kVersion) + "; " +
      update::kUpdateSignatureRefused}},
    {"an expired offer",
     [](Diagnosis& t) {
       t.offer(release::releaseManifest("9.0.0", "", 8, "2024-01-01T00:00:00Z"));
     },
     {"Erro | Vers\xe3o | Esta ferramenta: " + std::string(config::kVersion) +
      "; Atualiza\xe7\xe3o recusada: a publica\xe7\xe3o n\xba 8 (vers\xe3o 9.0.0) venceu em "
      "2024-01-01T00:00:00Z"}},
    {"a printer on the network, ready",
     [](Diagnosis& t) { t.networkPrinter("\x16\x12\x12"); },
     {"OK | Impressora COZINHA | Pronta: respondeu ao pedido de estado" + kAnswered + "16 12 12"}},
    {"a printer on the network, its cover open",
     [](Diagnosis& t) { t.networkPrinter("\x16\x16\x12"); },
     {"Erro | Impressora COZINHA | Tampa aberta: a impressora parou | Feche bem a tampa da "
      "impressora, at\xe9 o clique" + kAnswered + "16 16 12"}},
    {"an Epson printer on the network at the paper's end",
     [](Diagnosis& t) {
       const int port = t.networkPrinter("\x16\x32\x72");
       t.write("impressora", "[{\"name\":\"CAIXA\",\"tipo\":\"EPSON DLL\",\"padrao\":\"Sim\","
                             "\"endereco\":\"127.0.0.1:" + std::to_string(port) + "\"}]");
     },
     {"Erro | Impressora CAIXA | Sem papel: a bobina acabou | Coloque uma bobina nova e feche a "
      "tampa" + kAnswered + "16 32 72"}},
    {"a printer on the network, its paper near the end",
     [](Diagnosis& t) { t.networkPrinter("\x16\x12\x1e"); },
     {"Aten\xe7\xe3o | Impressora COZINHA | O papel est\xe1 acabando | Deixe uma bobina nova por "
      "perto e troque quando acabar" + kAnswered + "16 12 1E"}},
    {"a printer on the network, offline",
     [](Diagnosis& t) { t.networkPrinter("\x1e\x12\x12"); },
     {"Erro | Impressora COZINHA | A impressora est\xe1 offline | Confira a tampa e o papel; se "
      "continuar, desligue e ligue a impressora" + kAnswered + "1E 12 12"}},
    {"a printer on the network answering an invalid byte",
     [](Diagnosis& t) { t.networkPrinter("\x16\xff\x12"); },
     {"Aten\xe7\xe3o | Impressora COZINHA | Resposta inesperada ao pedido de estado: 16 FF 12 | "
      "Confira se a impressora est\xe1 no modo ESC/POS; se os pedidos saem, ignore" + kAnswered +
      "16 FF 12"}},
    {"a printer on the network, silent",
     [](Diagnosis& t) { t.networkPrinter(""); },
     {kUnanswered + "sem resposta em 2 s"}},
    {"a printer on the network refusing the connection",
     [](Diagnosis& t) { t.networkPrinter("", false); },
     {kUnanswered + "conex\xe3o recusada"}},
};

TEST_P(DiagnosisSetUps, GiveTheirLines) {
  const SetUpCase& c = GetParam();
  c.prepare(*this);
  const std::vector<std::string> lines = run();
  for (const std::string& expected : c.expected) {
    bool found = false;
    for (const std::string& line : lines) found = found || line.rfind(expected, 0) == 0;
    EXPECT_TRUE(found) << "no line \"" << expected << "\" among:\n"
                       << testing::PrintToString(lines);
  }
  // A printer is sent the status request and nothing else.
  if (printer) {
    printer.reset();  // its thread done
    EXPECT_EQ("10 04 01 10 04 02 10 04 04", diagnosis::hexBytes(received));
  }
  // Nothing a working restaurant needs is touched.
  EXPECT_TRUE(twins.printers.opened.empty());
  EXPECT_TRUE(twins.share.record.opened.empty());
  EXPECT_TRUE(twins.epson.calls.empty());
  EXPECT_FALSE(platform::directoryExists(file("log")));
}

INSTANTIATE_TEST_SUITE_P(Table, DiagnosisSetUps, testing::ValuesIn(kSetUps));

TEST_F(Diagnosis, TheSupportPackageHoldsItsFilesButNotTheToken) {
  platform::createDirectory(file("log"));
  for (const char* day : {"2024-12-20", "2024-12-29", "2024-12-30", "2025-01-01"})
    write(std::string("log\\") + day + ".txt", std::string("linha de ") + day);
  twins.clock.set({2025, 1, 1, 21, 5, 9});
  const std::string path = diagnosis::writeSupportPackage(dir.path(), "relat\xf3rio", services);
  EXPECT_EQ(file("diagnostico-20250101-210509.zip"), path);

  std::vector<std::string> names;
  std::string everything;
  for (const update::ArchiveEntry& entry : update::readArchive(platform::readFile(path))) {
    names.push_back(entry.name);
    everything += entry.data;
  }
  EXPECT_EQ(
      (std::vector<std::string>{"relatorio.txt", "impressora", "categoria", "produto",
                                "log/2025-01-01.txt", "log/2024-12-30.txt", "log/2024-12-29.txt",
                                "quelta.dll", "impressoras-windows.txt"}),
      names);
  EXPECT_EQ(std::string::npos, everything.find("prd.token-da-loja"));
  EXPECT_NE(std::string::npos, everything.find("token=(definida)"));
  EXPECT_NE(std::string::npos,
            everything.find("Impressora da cozinha; compartilhada como COZINHA; 0 na fila"));
}

TEST_F(Diagnosis, TheLogScreensButtonOpensTheWindowThatFillsAsChecksFinish) {
  app::MainWindow window(services, connections);
  prompts.modalScripts.push_back([&](ui::Form& form) {
    auto& diagnosisWindow = static_cast<diagnosis::DiagnosisWindow&>(form);
    EXPECT_EQ("Diagn\xf3stico - Quelta Configura\xe7\xe3o", form.caption());
    for (int i = 0; i < 200 && !diagnosisWindow.finished(); ++i) {
      Sleep(10);
      ui::pumpMessages();
    }
    ASSERT_TRUE(diagnosisWindow.finished());
    ui::ListView list = form.list("lvDiagnostico");
    EXPECT_EQ(static_cast<int>(diagnosisWindow.lines().size()), list.rowCount());
    EXPECT_EQ("Servi\xe7o de impress\xe3o", list.cell(0, 0));
    EXPECT_EQ("OK: Instalado e em execu\xe7\xe3o", list.cell(0, 1));
    EXPECT_EQ(diagnosis::summary(diagnosisWindow.lines(), true), form.control("lbResumo").text());
    form.click("btnCopiar");
    EXPECT_EQ(diagnosisWindow.report(), ui::clipboardText(form.hwnd()));
    form.click("btnFechar");
  });
  window.click("btnDiagnostico");
  EXPECT_EQ(1, prompts.modalCount);
  EXPECT_TRUE(prompts.texts().empty()) << testing::PrintToString(prompts.texts());
}

}  // namespace
