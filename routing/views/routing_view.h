// The pages "Categorias" and "Produtos" of the configuration screen and its
// "Salvar": the printer picked for each category through a popup, product
// routes added and removed by name, and the configuration save.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/view_host.h"

namespace routing {

class RoutingView {
 public:
  // Its controls, on the main window's configuration screen gbConfig: the
  // pages and "Salvar".
  static std::span<const ui::ControlSpec> controls();

  explicit RoutingView(host::ViewHost& host);

  // A category row became selected (or deselected): the printer popup.
  void lvCategoriaSelectItem(int row, bool selected);
  // The popup entry chosen for the remembered row.
  void HandlePopupItem(const std::string& entry);
  void btnProdutoAdicionarClick();  // "Adicionar" on the product page
  void btnProdutoRemoverClick();    // "Remover" on the product page
  void btnConfigSaveClick();        // "Salvar" of the configuration screen

  // Refills of the category list, the product list and the product page's
  // printer choice from the tables.
  void loadCategoria();
  void loadProduto();
  void loadProdutoImpressora();

 private:
  host::ViewHost& host_;
  ui::Form& window_;
  ui::ListView categories_, products_;
  ui::Control productName_;
  ui::ComboBox productPrinter_, productSeparado_;
  // The printer list of the group "Impressoras", whose rows the popup offers.
  ui::ListView printers_;
  int popupRow_ = -1;  // the category row the popup was opened for
};

}  // namespace routing
