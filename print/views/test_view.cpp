#include "print/views/test_view.h"

#include "net/disconnect_guard.h"
#include "print/log_file.h"
#include "print/print_services.h"
#include "print/test_ticket.h"
#include "print/views/preview_window.h"
#include "service/load_test.h"
#include "service/service_endpoint.h"

namespace print {
namespace {

// cbTestTipo's items, in order.
constexpr int kViaConfiguracao = 0;
constexpr int kTesteDeCarga = 2;

}  // namespace

TestView::TestView(host::ViewHost& host)
    : host_(host), window_(host.form()), loadTest_(host.worker(), *host.services().http) {
  window_.onClick("btnTest", [this] { btnTestClick(); });
  window_.onChange("cbTestTipo", [this] { cbTestTipoChange(); });
  window_.onClick("Button4", [this] { Button4Click(); });
  window_.onClick("Button5", [this] { Button5Click(); });
  window_.onClick("btnVisualizar", [this] { btnVisualizarClick(); });
  window_.setBox("gbTeste", {"", "Button4"});
}

void TestView::btnTestClick() {
  const json::TJSONArray& printers = *host_.state().tables.printers;
  std::vector<std::string> items;
  for (int i = 0; i < printers.count(); ++i) items.push_back(printers.objectAt(i).textOf("name"));
  items.push_back("Todas");
  ui::ComboBox choice = window_.combo("cbTestImp");
  choice.setItems(items);
  choice.select(0);
  ui::Control box = window_.control("gbTeste");
  box.bringToFront();
  box.show();
}

void TestView::cbTestTipoChange() {
  const bool loadTest = window_.combo("cbTestTipo").selectedIndex() == kTesteDeCarga;
  ui::ComboBox choice = window_.combo("cbTestImp");
  if (loadTest) {
    choice.enable(false);
    choice.select(choice.count() - 1);
  } else {
    choice.enable(true);
  }
  window_.control("lbTestQtd").show(loadTest);
  window_.control("edtTestQtd").show(loadTest);
}

void TestView::Button4Click() { window_.control("gbTeste").hide(); }

void TestView::Button5Click() {
  const int mode = window_.combo("cbTestTipo").selectedIndex();
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
  PreviewWindow::openModal(window_.hwnd(), host_.state().tables.printers->objectAt(position),
                           host_.state().companyName, clock(), *host_.services().printers);
}

int TestView::chosenPrinter() {
  ui::ComboBox choice = window_.combo("cbTestImp");
  const int position = choice.selectedIndex();
  // "Todas" is the last item; no selection at all is no printer either.
  if (position < 0 || position == choice.count() - 1) {
    host_.prompts().showMessage(kChooseOnePrinter);
    return -1;
  }
  return position;
}

const platform::Clock& TestView::clock() const { return *host_.services().clock; }

void TestView::testViaConfiguracao(int position) {
  host::AppState& state = host_.state();
  {
    host::Busy busy(host_.prompts());
    const json::TJSONObject& printer = state.tables.printers->objectAt(position);
    const platform::Clock& clock = this->clock();
    std::string result;
    printTeste(printer, state.companyName, result, printServices(host_.services()), clock);
    if (result == "OK")
      saveLog(state.appDir, "Teste Impresso Config: " + printer.textOf("name"), clock);
    else
      saveLog(state.appDir, "Config: " + result, clock);
  }
  host_.prompts().showMessage(kTestSent);
}

void TestView::testViaServico(int position) {
  host::AppState& state = host_.state();
  const platform::Clock& clock = this->clock();
  {
    host::Busy busy(host_.prompts());
    net::HttpFetcher& http = host_.http();
    net::DisconnectGuard disconnect(http);
    try {
      if (!service::requestTestPrint(http, position))
        saveLog(state.appDir, "Teste Impresso Service: erro ao solicitar impressao", clock);
    } catch (const quelta::Error& e) {
      saveLog(state.appDir, "Erro na impressao do teste via service: " + quelta::describe(e),
              clock);
    }
  }
  host_.prompts().showMessage(kTestSent);
}

void TestView::testDeCarga() {
  host::AppState& state = host_.state();
  // Both read before any order goes out: a bad category or quantity sends
  // nothing.
  std::vector<std::string> ids = service::loadTestCategoryIds(*state.tables.categories);
  const int quantity = service::loadTestQuantity(window_.control("edtTestQtd").text());
  // The worker takes it from here; the window does not wait for it.
  loadTest_.sendBurst(std::move(ids), quantity);
  host_.prompts().showMessage(kTestSent);
}

}  // namespace print
