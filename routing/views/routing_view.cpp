#include "routing/views/routing_view.h"

#include "app/main_window.h"
#include "platform/profile.h"
#include "routing/category_routing.h"
#include "routing/config_save.h"
#include "routing/product_routing.h"
#include "routing/views/outcome_view.h"
#include "ui/cursor.h"
#include "ui/prompts.h"

namespace routing {
namespace {

// The rows as the lists show them, in list order: the popup offers the
// printer list's rows, and the save and the product removal act on what
// the user sees, pending picks included.
std::vector<PrinterRow> printerListRows(const ui::ListView& list) {
  std::vector<PrinterRow> rows;
  for (int i = 0; i < list.rowCount(); ++i)
    rows.push_back({list.cell(i, 0), list.cell(i, 1), list.cell(i, 2)});
  return rows;
}

std::vector<CategoryRow> categoryListRows(const ui::ListView& list) {
  std::vector<CategoryRow> rows;
  for (int i = 0; i < list.rowCount(); ++i) rows.push_back({list.cell(i, 0), list.cell(i, 1)});
  return rows;
}

std::vector<ProductRow> productListRows(const ui::ListView& list) {
  std::vector<ProductRow> rows;
  for (int i = 0; i < list.rowCount(); ++i)
    rows.push_back({list.cell(i, 0), list.cell(i, 1), list.cell(i, 2)});
  return rows;
}

}  // namespace

RoutingView::RoutingView(app::MainWindow& window) : window_(window) {
  window.onSelectItem("lvCategoria",
                      [this](int row, bool selected) { lvCategoriaSelectItem(row, selected); });
  window.onClick("btnProdutoAdicionar", [this] { btnProdutoAdicionarClick(); });
  window.onClick("btnProdutoRemover", [this] { btnProdutoRemoverClick(); });
  window.onClick("btnConfigSave", [this] { btnConfigSaveClick(); });
}

void RoutingView::lvCategoriaSelectItem(int row, bool selected) {
  if (!selected) return;
  const CategoryPick pick = pickPrinterFor(printerListRows(window_.list("lvImpressora")));
  if (!pick.message.empty()) {
    ui::prompts().showMessage(pick.message);
    return;
  }
  popupRow_ = row;
  const auto& popup = window_.environment().popupMenu;
  const int chosen = popup ? popup(window_.hwnd(), pick.entries) : -1;
  if (chosen >= 0 && chosen < static_cast<int>(pick.entries.size()))
    HandlePopupItem(pick.entries[static_cast<size_t>(chosen)]);
}

void RoutingView::HandlePopupItem(const std::string& entry) {
  ui::ListView list = window_.list("lvCategoria");
  if (popupRow_ >= 0 && popupRow_ < list.rowCount()) list.setCell(popupRow_, 1, entry);
}

void RoutingView::btnProdutoAdicionarClick() {
  applyOutcome(window_, addProduct(window_.state().tables, window_.control("edtProdutoNome").text(),
                                   window_.combo("cbProdutoImpressora").selectedText(),
                                   window_.combo("cbProdutoSeparado").selectedText()));
}

void RoutingView::btnProdutoRemoverClick() {
  ui::ListView list = window_.list("lvProduto");
  applyOutcome(window_,
               removeProduct(window_.state().tables, productListRows(list), list.selectedIndex()));
}

void RoutingView::btnConfigSaveClick() {
  ui::BusyCursor busy;
  saveConfiguration(window_.state().tables, categoryListRows(window_.list("lvCategoria")),
                    window_.state().appDir);
}

}  // namespace routing
