// The group "Impressoras" of the configuration screen: the printer list with
// "Adicionar", "Remover" and "Configurar", and the printer configuration box
// gbImpConfig laid over them.
#pragma once

#include <string>

#include "host/view_host.h"
#include "routing/printer_box.h"

namespace routing {

class PrinterView {
 public:
  explicit PrinterView(host::ViewHost& host);

  void btnPrinterAddClick();     // "Adicionar": a printer from the printer setup dialog
  void btnPrinterRemoveClick();  // "Remover"
  void btnImpConfigClick();      // "Configurar": opens the box for the selected printer
  void cbImpTipoChange();        // the type rule
  void btnImpSalvarClick();      // "Salvar" in the box
  void btnImpCancelarClick();    // "Cancelar" in the box

  // Refills the printer list from the printer table.
  void loadImpressora();

 private:
  // The box's items and design-time selections, set once.
  void fillBoxLists();
  // The box state into the controls, and the controls' texts back.
  void showBoxState(const PrinterBoxState& state);
  PrinterBoxState boxStateFromControls() const;
  void showTypeControls(const PrinterBoxState& state);
  int selectedPrinter() const;

  host::ViewHost& host_;
  ui::Form& window_;
  PrinterBox box_;
};

}  // namespace routing
