// The test box of the printer section (gbTeste): "Testar Imp." opens it;
// "Testar" prints a test ticket with the tool's own print engine, asks the
// print service to print one, or sends the service a burst of fake orders,
// by the mode chosen in cbTestTipo. "Visualizar" shows the tool's own
// ticket as the chosen printer would print it, without printing.
#pragma once

#include <span>
#include <string>

#include "host/view_host.h"
#include "platform/clock.h"
#include "service/test_ws.h"

namespace print {

inline constexpr char kTestSent[] = "Teste Enviado.";
inline constexpr char kChooseOnePrinter[] =
    "Op\xe7\xe3o n\xe3o dispon\xedvel para todas as impressoras, selecione uma impressora.";

class TestView {
 public:
  // Its controls: "Testar Imp." and the box, in the printer view's group
  // "Impressoras", whose table comes first.
  static std::span<const ui::ControlSpec> controls();

  explicit TestView(host::ViewHost& host);

  void btnTestClick();        // "Testar Imp.": fills the printer choice, shows the box
  void cbTestTipoChange();    // the load test has a quantity and no printer choice
  void Button4Click();        // "Cancelar": hides the box
  void Button5Click();        // "Testar": acts by the chosen mode
  void btnVisualizarClick();  // "Visualizar": the ticket's preview

  service::TestWS& loadTest() { return loadTest_; }

 private:
  void testViaConfiguracao(int position);
  void testViaServico(int position);
  void testDeCarga();
  // The chosen printer's position; -1, after the refusal, for "Todas".
  int chosenPrinter();
  const platform::Clock& clock() const;

  host::ViewHost& host_;
  ui::Form& window_;
  ui::Control testBox_;
  ui::ComboBox printerChoice_, mode_;
  ui::Control quantityLabel_, quantity_;
  service::TestWS loadTest_;
};

}  // namespace print
