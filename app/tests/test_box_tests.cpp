// The test box of the configuration screen: the printer choice and mode
// rule, the ticket printed by the tool itself, the service's test request
// and the load test, against the tool's real window and HTTP client, with a
// server of the test's own on the print service's port.
#include "app/tests/service_endpoint.h"
// (first: httplib brings winsock2.h, which must precede windows.h)

#include <gtest/gtest.h>

#include <algorithm>

#include "app/main_window.h"
#include "app/tests/app_fixture.h"
#include "service/test_ws.h"
#include "tests/support/test_ticket_golden.h"

namespace {

using Lines = std::vector<std::string>;
using endpoint_test::FakeService;

const char kRefusal[] =
    "Op\xe7\xe3o n\xe3o dispon\xedvel para todas as impressoras, selecione uma impressora.";
const char kSent[] = "Teste Enviado.";

const char kPrinters[] =
    "[{\"name\":\"Caixa\",\"tipo\":\"Generic Text\",\"padrao\":\"Sim\",\"tipoTexto\":\"Outro\","
    "\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"12 Negrito\",\"fonteItem\":\"10\"},"
    "{\"name\":\"Balcao\",\"tipo\":\"EPSON DLL\",\"padrao\":\"N\xe3o\",\"endereco\":\"USB\","
    "\"tipoTexto\":\"Epson\",\"tamanhoFolha\":\"40\",\"fonteTitulo\":\"10\",\"fonteItem\":\"10\"},"
    "{\"name\":\"Bar\",\"tipo\":\"Generic Text\",\"padrao\":\"N\xe3o\",\"tipoTexto\":\"Outro\","
    "\"tamanhoFolha\":\"abc\",\"fonteTitulo\":\"12\",\"fonteItem\":\"12\"}]";

// Three categories to the first printer, one to the second.
const char kCategories[] =
    "[{\"id\":12,\"name\":\"Pratos\",\"printer\":\"Caixa\"},"
    "{\"id\":13,\"name\":\"Massas\",\"printer\":\"Caixa\"},"
    "{\"id\":20,\"name\":\"Bebidas\",\"printer\":\"Balcao\"},"
    "{\"id\":14,\"name\":\"Sobremesas\",\"printer\":\"Caixa\"}]";

std::string blanks(int n) { return std::string(n, ' '); }

class TestBox : public AppTest {
 protected:
  TestBox() : clock({2026, 3, 7, 9, 5, 3}) {
    write("impressora", kPrinters);
    write("categoria", kCategories);
    services.clock = &clock;
  }

  // The window on its configuration screen with the box opened.
  std::unique_ptr<app::MainWindow> openBox() {
    auto window = std::make_unique<app::MainWindow>(services, connections);
    window->click("btnConfig");
    window->click("btnTest");
    return window;
  }

  static void chooseMode(app::MainWindow& window, int mode) {
    window.combo("cbTestTipo").select(mode);
    window.notifyChange("cbTestTipo");
  }

  std::string dayLog() { return endpoint_test::readOr(file("log\\2026-03-07.txt")); }

  platform::SettableClock clock;
};

}  // namespace

TEST_F(TestBox, OpensWithEveryPrinterThenTodasAndFollowsTheModeRule) {
  auto window = openBox();
  ui::ComboBox printers = window->combo("cbTestImp");
  EXPECT_EQ(printers.items(), Lines({"Caixa", "Balcao", "Bar", "Todas"}));
  EXPECT_EQ(printers.selectedIndex(), 0);
  EXPECT_TRUE(window->control("gbTeste").visible());
  EXPECT_FALSE(window->control("lbTestQtd").visible());
  EXPECT_FALSE(window->control("edtTestQtd").visible());

  // The load test: no printer choice, a quantity.
  chooseMode(*window, 2);
  EXPECT_FALSE(printers.enabled());
  EXPECT_EQ(printers.selectedIndex(), 3);
  EXPECT_TRUE(window->control("lbTestQtd").visible());
  EXPECT_TRUE(window->control("edtTestQtd").visible());
  EXPECT_EQ(window->control("edtTestQtd").text(), "1");

  // Back to a single-printer mode: the choice is enabled and unchanged, and
  // "Todas" is refused by both modes and by the preview without anything
  // printed, shown or logged.
  for (int mode : {1, 0}) {
    chooseMode(*window, mode);
    EXPECT_TRUE(printers.enabled());
    EXPECT_EQ(printers.selectedIndex(), 3);
    EXPECT_FALSE(window->control("edtTestQtd").visible());
    window->click("Button5");
  }
  window->click("btnVisualizar");
  EXPECT_EQ(prompts.texts(), Lines({kRefusal, kRefusal, kRefusal}));
  EXPECT_EQ(prompts.modalCount, 0);
  EXPECT_TRUE(twins.share.record.opened.empty());
  EXPECT_FALSE(platform::directoryExists(file("log")));

  // "Cancelar" hides the box; opening it again selects the first printer
  // and keeps the mode.
  window->click("Button4");
  EXPECT_FALSE(window->control("gbTeste").visible());
  chooseMode(*window, 1);
  window->click("btnTest");
  EXPECT_TRUE(window->control("gbTeste").visible());
  EXPECT_EQ(printers.selectedIndex(), 0);
  EXPECT_EQ(window->combo("cbTestTipo").selectedIndex(), 1);
}

TEST_F(TestBox, WithoutPrintersOnlyTodasIsOfferedAndRefused) {
  write("impressora", "[]");
  auto window = openBox();
  EXPECT_EQ(window->combo("cbTestImp").items(), Lines{"Todas"});
  EXPECT_EQ(window->combo("cbTestImp").selectedIndex(), 0);
  window->click("Button5");
  chooseMode(*window, 1);
  window->click("Button5");
  EXPECT_EQ(prompts.texts(), Lines({kRefusal, kRefusal}));
}

TEST_F(TestBox, VisualizarShowsTheTicketWithoutPrintingPausingOrLogging) {
  auto window = openBox();
  std::string caption, destination, narrowNote, wideNote;
  Lines listing;
  int paper = -1;
  bool closedByEsc = false;
  prompts.modalScripts.push_back([&](ui::Form& preview) {
    caption = preview.caption();
    destination = preview.control("lbDestino").text();
    paper = preview.combo("cbPapel").selectedIndex();
    narrowNote = preview.control("lbAviso").text();
    listing = preview.memo("mmBytes").lines();
    preview.combo("cbPapel").select(1);
    preview.notifyChange("cbPapel");
    wideNote = preview.control("lbAviso").text();
    SendMessageA(preview.hwnd(), WM_COMMAND, IDCANCEL, 0);
    ui::pumpMessages();
    closedByEsc = !preview.isOpen();
  });
  window->click("btnVisualizar");
  EXPECT_EQ(caption, "Visualiza\xe7\xe3o - Caixa");
  EXPECT_EQ(destination, "Destino: \\\\127.0.0.1\\Caixa");
  // "tamanhoFolha" 40: the 58 mm roll, too narrow for the 48 columns.
  EXPECT_EQ(paper, 0);
  EXPECT_EQ(narrowNote,
            "6 linhas n\xe3o cabem no papel de 58 mm e continuam na linha de baixo (marcadas "
            "\xe0 esquerda).");
  EXPECT_EQ(wideNote,
            "1 linha n\xe3o cabe no papel de 80 mm e continua na linha de baixo (marcada \xe0 "
            "esquerda).");
  ASSERT_GE(listing.size(), 2u);
  EXPECT_EQ(listing[1], "0000  20 20 20 20 20 20 20 20  20 20 20 20 20 20 20 20  " + blanks(16));
  EXPECT_TRUE(closedByEsc);
  EXPECT_EQ(prompts.modalCount, 1);
  EXPECT_TRUE(twins.share.record.opened.empty());
  EXPECT_TRUE(twins.pauses.empty());
  EXPECT_FALSE(platform::directoryExists(file("log")));
  EXPECT_TRUE(prompts.texts().empty());
}

TEST_F(TestBox, ViaConfiguracaoPrintsTheTicketAndLogsTheOutcome) {
  auto window = openBox();

  // "Outro" text on a shared text printer: the ticket's texts as they are.
  window->click("Button5");
  EXPECT_EQ(twins.share.record.opened, Lines{"\\\\127.0.0.1\\Caixa"});
  EXPECT_EQ(twins.share.record.bytes, golden::shareBytes(golden::testTicketTexts(48, 21, "Caixa")));
  EXPECT_EQ(dayLog(), "09:05:03 : Teste Impresso Config: Caixa\r\n");
  EXPECT_EQ(prompts.texts(), Lines{kSent});

  // The Epson printer: 32 columns, its port does not open.
  twins.epson.failing = {"IniciaPorta"};
  window->combo("cbTestImp").select(1);
  window->click("Button5");
  EXPECT_EQ(twins.epson.names(), Lines({"FechaPorta", "IniciaPorta"}));
  EXPECT_EQ(dayLog(),
            "09:05:03 : Teste Impresso Config: Caixa\r\n"
            "09:05:03 : Config: Erro na impressao: N\xe3o foi possivel conecar na porta da "
            "impressora\r\n");
  // Printed when the port opens, with the Epson widths.
  twins.epson.failing.clear();
  twins.epson.calls.clear();
  clock.set({2026, 3, 7, 21, 0, 59});
  window->click("Button5");
  ASSERT_EQ(twins.epson.calls.size(), 5u);
  const std::string printed = twins.epson.calls[2].text;
  EXPECT_EQ(printed.substr(0, 3 + 9 + 6 + 1), "\x1b!(" + blanks(9) + "QUELTA\n");
  EXPECT_NE(printed.find("\x1b!)Mesa: 0" + blanks(17) + "07/03/26\n"), std::string::npos);
  EXPECT_NE(printed.find("\x1b!)Cartao: 0" + blanks(15) + "21:00:59\n"), std::string::npos);
  EXPECT_NE(printed.find("\x1b!)" + std::string(32, '_') + "\n"), std::string::npos);
  EXPECT_NE(dayLog().find("21:00:59 : Teste Impresso Config: Balcao\r\n"), std::string::npos);
  EXPECT_EQ(prompts.texts(), Lines({kSent, kSent, kSent}));

  // A paper width that is no number: the error box, nothing printed, no log.
  const std::string before = dayLog();
  twins.share.record.opened.clear();
  window->combo("cbTestImp").select(2);
  window->click("Button5");
  EXPECT_EQ(prompts.texts(), Lines({kSent, kSent, kSent, "'abc' is not a valid integer value."}));
  EXPECT_TRUE(twins.share.record.opened.empty());
  EXPECT_EQ(dayLog(), before);
}

TEST_F(TestBox, ViaServicoAsksForThePrinterAtItsPosition) {
  FakeService service;
  ASSERT_TRUE(service.listening());
  auto window = openBox();
  chooseMode(*window, 1);
  window->combo("cbTestImp").select(2);

  service.answer("{\"success\":true}", "{\"success\":false}");
  window->click("Button5");
  ASSERT_FALSE(service.targets("GET").empty());
  EXPECT_EQ(service.targets("GET").back(), "/?teste=2");
  EXPECT_EQ(dayLog(), "09:05:03 : Teste Impresso Service: erro ao solicitar impressao\r\n");

  // Printed, even by a printer that took longer than a status query may:
  // nothing to log.
  service.answer("{\"success\":true}", "{\"success\":true}");
  service.delay({}, std::chrono::seconds(6));
  window->combo("cbTestImp").select(0);
  window->click("Button5");
  service.delay({}, {});
  ASSERT_FALSE(service.targets("GET").empty());
  EXPECT_EQ(service.targets("GET").back(), "/?teste=0");
  EXPECT_EQ(dayLog(), "09:05:03 : Teste Impresso Service: erro ao solicitar impressao\r\n");

  // Replies the tool cannot use.
  service.answer("{\"success\":true}", "impresso");
  window->click("Button5");
  service.answer("{\"success\":true}", "");
  window->click("Button5");
  Lines lines;
  for (size_t start = 0, end; (end = dayLog().find("\r\n", start)) != std::string::npos;
       start = end + 2)
    lines.push_back(dayLog().substr(start, end - start));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(
      lines[1].rfind("09:05:03 : Erro na impressao do teste via service: ParseException - ", 0), 0u)
      << lines[1];
  EXPECT_EQ(lines[2],
            "09:05:03 : Erro na impressao do teste via service: EIdHTTPProtocolException - "
            "HTTP/1.1 500 Internal Server Error");
  EXPECT_EQ(prompts.texts(), Lines({kSent, kSent, kSent, kSent}));
}

TEST_F(TestBox, ViaServicoWithTheServiceDownLogsTheConnectionError) {
  auto window = openBox();
  chooseMode(*window, 1);
  window->click("Button5");
  EXPECT_EQ(dayLog().rfind("09:05:03 : Erro na impressao do teste via service: EId", 0), 0u)
      << dayLog();
  EXPECT_EQ(prompts.texts(), Lines{kSent});
}

TEST_F(TestBox, LoadTestPostsOneOrderPerNumberWithOneItemPerPrinter) {
  FakeService service;
  ASSERT_TRUE(service.listening());
  auto window = openBox();
  chooseMode(*window, 2);
  window->control("edtTestQtd").setText("3");
  window->click("Button5");
  EXPECT_EQ(prompts.texts(), Lines{kSent});
  window->testView().loadTest().waitIdle();

  std::vector<endpoint_test::Request> posts = service.requests("POST");
  ASSERT_EQ(posts.size(), 3u);
  Lines bodies;
  for (const auto& post : posts) {
    EXPECT_EQ(post.target, "/");
    EXPECT_EQ(post.version, "HTTP/1.0");
    EXPECT_EQ(post.accept,
              "application/json,text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8");
    EXPECT_EQ(post.userAgent,
              "Mozilla/5.0 (Windows NT 6.1; WOW64; rv:12.0) Gecko/20100101 Firefox/12.0");
    EXPECT_EQ(post.contentType, "application/json; charset=utf-8");
    EXPECT_EQ(post.contentEncoding, "utf-8");
    bodies.push_back(post.body);
  }
  std::sort(bodies.begin(), bodies.end());
  const std::string items =
      "[{\"qtd\":\"1\",\"category\":\"12\",\"title\":\"ITEM 01 DESCRICAO\","
      "\"attr\":[\"  >> Opcional Descricao\"]}, "
      "{\"qtd\":\"1\",\"category\":\"20\",\"title\":\"ITEM 01 DESCRICAO\","
      "\"attr\":[\"  >> Opcional Descricao\"]}]";
  EXPECT_EQ(bodies, Lines({"{\"table\":1,\"card\":1,\"items\":" + items + "}",
                           "{\"table\":2,\"card\":2,\"items\":" + items + "}",
                           "{\"table\":3,\"card\":3,\"items\":" + items + "}"}));

  // Quantity 0: nothing is sent, the window still confirms.
  window->control("edtTestQtd").setText("0");
  window->click("Button5");
  // A quantity that is no number, and a category without a printer: the
  // error box, and nothing sent.
  window->control("edtTestQtd").setText("tres");
  window->click("Button5");
  window->control("edtTestQtd").setText("3");
  window->state().tables.categories = std::make_unique<json::TJSONArray>("[{\"id\":12}]");
  window->click("Button5");
  window->testView().loadTest().waitIdle();
  ui::pumpMessages();
  EXPECT_EQ(service.requests("POST").size(), 3u);
  Lines shown = prompts.texts();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], kSent);
  EXPECT_EQ(shown[2], "'tres' is not a valid integer value.");
  EXPECT_EQ(shown[3].rfind("TJSONObject[", 0), 0u) << shown[3];
  EXPECT_EQ(prompts.texts("error").size(), 2u);
}
