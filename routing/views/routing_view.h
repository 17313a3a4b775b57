// The pages "Categorias" and "Produtos" of the configuration screen and its
// "Salvar": the printer picked for each category through a popup, product
// routes added and removed by name, and the configuration save.
#pragma once

#include <string>
#include <vector>

#include "host/view_host.h"

namespace routing {

class RoutingView {
 public:
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
  int popupRow_ = -1;  // the category row the popup was opened for
};

}  // namespace routing
