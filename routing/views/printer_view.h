// The group "Impressoras" of the configuration screen: the printer list with
// "Adicionar", "Remover" and "Configurar", and the printer configuration box
// gbImpConfig laid over them.
#pragma once

#include <span>
#include <string>

#include "host/view_host.h"
#include "routing/printer_box.h"

namespace routing {

class PrinterView {
 public:
  // Its controls: the group "Impressoras" on the main window's configuration
  // screen gbConfig, with the box.
  static std::span<const ui::ControlSpec> controls();

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
  ui::ListView printers_;
  ui::Control configBox_;
  // Shown by the type rule: the text type, the two fonts, the address.
  ui::Control textType_[2], fonts_[4], address_[2];
  PrinterBox box_;
};

}  // namespace routing
