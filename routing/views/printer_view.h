// The group "Impressoras" of the configuration screen: the printer list with
// "Adicionar", "Remover" and "Configurar", and the printer configuration box
// gbImpConfig laid over them.
#pragma once

#include <string>

#include "routing/printer_box.h"

namespace app {
class MainWindow;
}

namespace routing {

class PrinterView : private PrinterBoxHost {
 public:
  explicit PrinterView(app::MainWindow& window);

  void btnPrinterAddClick();     // "Adicionar": a printer from the printer setup dialog
  void btnPrinterRemoveClick();  // "Remover"
  void btnImpConfigClick();      // "Configurar": opens the box for the selected printer
  void cbImpTipoChange();        // the type rule
  void btnImpSalvarClick();      // "Salvar" in the box
  void btnImpCancelarClick();    // "Cancelar" in the box

 private:
  // The box's items and design-time selections, set once.
  void fillBoxLists();
  // The box state into the controls, and the controls' texts back.
  void showBoxState(const PrinterBoxState& state);
  PrinterBoxState boxStateFromControls() const;
  void showTypeControls(const PrinterBoxState& state);
  int selectedPrinter() const;

  // PrinterBoxHost.
  void openCredentialsModal() override;
  void loadImpressora() override;
  void showMessage(const std::string& text) override;

  app::MainWindow& window_;
  PrinterBox box_;
};

}  // namespace routing
