#include "print/views/test_view.h"

#include "host/operation_names.h"
#include "net/disconnect_guard.h"
#include "net/http_client.h"
#include "print/log_file.h"
#include "print/print_services.h"
#include "print/test_ticket.h"
#include "print/views/preview_window.h"
#include "service/load_test.h"
#include "service/service_endpoint.h"

namespace print {
namespace {

using ui::Kind;

// clang-format off
const ui::ControlSpec kControls[] = {
    {Kind::Button, "btnTest", "gbImpressoras", "Testar Imp.", 296, 152, 90, 25},

    // The test box, at the printer configuration box's place.
    {Kind::Group, "gbTeste", "gbImpressoras", "Teste", 8, 18, 497, 161, false},
    {Kind::Label, "Label4", "gbTeste", "Impressora", 8, 18, 200, 14},
    {Kind::ComboList, "cbTestImp", "gbTeste", "", 8, 32, 200, 200},
    {Kind::Label, "Label10", "gbTeste", "Tipo", 216, 18, 140, 14},
    {Kind::ComboList, "cbTestTipo", "gbTeste", "", 216, 32, 140, 200},
    {Kind::Label, "lbTestQtd", "gbTeste", "Quantidade", 364, 18, 80, 14, false},
    {Kind::Edit, "edtTestQtd", "gbTeste", "1", 364, 32, 80, 21, false},
    {Kind::Button, "btnVisualizar", "gbTeste", "Visualizar", 248, 130, 75, 25},
    {Kind::Button, "Button5", "gbTeste", "Testar", 330, 130, 75, 25},
    {Kind::Button, "Button4", "gbTeste", "Cancelar", 412, 130, 75, 25},
};
// clang-format on

// cbTestTipo's items, in order.
constexpr int kViaConfiguracao = 0;
constexpr int kTesteDeCarga = 2;

}  // namespace

std::span<const ui::ControlSpec> TestView::controls() { return kControls; }

TestView::TestView(host::ViewHost& host)
    : host_(host),
      window_(host.form),
      testBox_(window_.control("gbTeste")),
      printerChoice_(window_.combo("cbTestImp")),
      mode_(window_.combo("cbTestTipo")),
      quantityLabel_(window_.control("lbTestQtd")),
      quantity_(window_.control("edtTestQtd")),
      loadTest_(host.worker, *host.services.http) {
  mode_.setItems({"Via Configura\xe7\xe3o", "Via Servi\xe7o", "Teste de Carga"});
  mode_.select(kViaConfiguracao);
  window_.onClick("btnTest", [this] { btnTestClick(); });
  window_.onChange("cbTestTipo", [this] { cbTestTipoChange(); });
  window_.onClick("Button4", [this] { Button4Click(); });
  window_.onClick("Button5", [this] { Button5Click(); });
  window_.onClick("btnVisualizar", [this] { btnVisualizarClick(); });
  window_.setBox("gbTeste", {"", "Button4"});
}

void TestView::btnTestClick() {
  const json::TJSONArray& printers = *host_.state.tables.printers;
  std::vector<std::string> items;
  for (int i = 0; i < printers.count(); ++i) items.push_back(printers.objectAt(i).textOf("name"));
  items.push_back("Todas");
  printerChoice_.setItems(items);
  printerChoice_.select(0);
  testBox_.bringToFront();
  testBox_.show();
}

void TestView::cbTestTipoChange() {
  const bool loadTest = mode_.selectedIndex() == kTesteDeCarga;
  if (loadTest) {
    printerChoice_.enable(false);
    printerChoice_.select(printerChoice_.count() - 1);
  } else {
    printerChoice_.enable(true);
  }
  quantityLabel_.show(loadTest);
  quantity_.show(loadTest);
}

void TestView::Button4Click() { testBox_.hide(); }

void TestView::Button5Click() {
  const int mode = mode_.selectedIndex();
  if (mode == kTesteDeCarga) {
    testDeCarga();
    return;
  }
  const int position = chosenPrinter();
  if (position < 0) return;
  if (mode == kViaConfiguracao)
    testViaConfiguracao(position);
  else
    testViaServico(position);
}

void TestView::btnVisualizarClick() {
  const int position = chosenPrinter();
  if (position < 0) return;
  PreviewWindow::openModal(window_.hwnd(), host_.state.tables.printers->objectAt(position),
                           host_.state.companyName, clock(), *host_.services.printers);
}

int TestView::chosenPrinter() {
  const int position = printerChoice_.selectedIndex();
  // "Todas" is the last item; no selection at all is no printer either.
  if (position < 0 || position == printerChoice_.count() - 1) {
    host_.prompts().showMessage(kChooseOnePrinter);
    return -1;
  }
  return position;
}

const platform::Clock& TestView::clock() const { return *host_.services.clock; }

void TestView::testViaConfiguracao(int position) {
  host::AppState& state = host_.state;
  {
    host::Busy busy(host_.prompts());
    const json::TJSONObject& printer = state.tables.printers->objectAt(position);
    const platform::Clock& clock = this->clock();
    // The spooler, the Epson library, a share and the pause after the job
    // all wait on the worker.
    host_.operations.run(host::kPrintingTest, [&](host::Operation&) {
      std::string result;
      printTeste(printer, state.companyName, result, printServices(host_.services), clock);
      if (result == "OK")
        saveLog(state.appDir, "Teste Impresso Config: " + printer.textOf("name"), clock);
      else
        saveLog(state.appDir, "Config: " + result, clock);
    });
  }
  host_.prompts().showMessage(kTestSent);
}

void TestView::testViaServico(int position) {
  host::AppState& state = host_.state;
  const platform::Clock& clock = this->clock();
  {
    host::Busy busy(host_.prompts());
    host_.operations.run(host::kPrintingTest, [&](host::Operation& op) {
      net::HttpFetcher& http = op.http();
      net::DisconnectGuard disconnect(http);
      try {
        if (!service::requestTestPrint(http, position))
          saveLog(state.appDir, "Teste Impresso Service: erro ao solicitar impressao", clock);
      } catch (const net::Cancelled&) {
        throw;
      } catch (const quelta::Error& e) {
        saveLog(state.appDir, "Erro na impressao do teste via service: " + quelta::describe(e),
                clock);
      }
    });
  }
  host_.prompts().showMessage(kTestSent);
}

void TestView::testDeCarga() {
  host::AppState& state = host_.state;
  // Both read before any order goes out: a bad category or quantity sends
  // nothing.
  std::vector<std::string> ids = service::loadTestCategoryIds(*state.tables.categories);
  const int quantity = service::loadTestQuantity(quantity_.text());
  // The worker takes it from here; the window does not wait for it.
  loadTest_.sendBurst(std::move(ids), quantity);
  host_.prompts().showMessage(kTestSent);
}

}  // namespace print
