#include "routing/views/routing_view.h"

#include "routing/category_routing.h"
#include "routing/config_save.h"
#include "routing/printer_table.h"
#include "routing/product_routing.h"

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

RoutingView::RoutingView(host::ViewHost& host) : host_(host), window_(host.form()) {
  window_.onSelectItem("lvCategoria",
                       [this](int row, bool selected) { lvCategoriaSelectItem(row, selected); });
  window_.onClick("btnProdutoAdicionar", [this] { btnProdutoAdicionarClick(); });
  window_.onClick("btnProdutoRemover", [this] { btnProdutoRemoverClick(); });
  window_.onClick("btnConfigSave", [this] { btnConfigSaveClick(); });
}

void RoutingView::lvCategoriaSelectItem(int row, bool selected) {
  if (!selected) return;
  const CategoryPick pick = pickPrinterFor(printerListRows(window_.list("lvImpressora")));
  if (!pick.message.empty()) {
    host_.prompts().showMessage(pick.message);
    return;
  }
  popupRow_ = row;
  const int chosen = host_.prompts().popupMenu(window_, pick.entries);
  if (chosen >= 0 && chosen < static_cast<int>(pick.entries.size()))
    HandlePopupItem(pick.entries[static_cast<size_t>(chosen)]);
}

void RoutingView::HandlePopupItem(const std::string& entry) {
  ui::ListView list = window_.list("lvCategoria");
  if (popupRow_ >= 0 && popupRow_ < list.rowCount()) list.setCell(popupRow_, 1, entry);
}

void RoutingView::btnProdutoAdicionarClick() {
  host_.apply(addProduct(host_.state().tables, window_.control("edtProdutoNome").text(),
                         window_.combo("cbProdutoImpressora").selectedText(),
                         window_.combo("cbProdutoSeparado").selectedText()));
}

void RoutingView::btnProdutoRemoverClick() {
  ui::ListView list = window_.list("lvProduto");
  host_.apply(removeProduct(host_.state().tables, productListRows(list), list.selectedIndex()));
}

void RoutingView::btnConfigSaveClick() {
  host::Busy busy(host_.prompts());
  saveConfiguration(host_.state().tables, categoryListRows(window_.list("lvCategoria")),
                    host_.state().appDir);
}

void RoutingView::loadCategoria() {
  ui::ListView view = window_.list("lvCategoria");
  view.clear();
  for (const CategoryRow& row : categoryRows(*host_.state().tables.categories))
    view.addRow({row.caption, row.printer});
}

void RoutingView::loadProduto() {
  ui::ListView view = window_.list("lvProduto");
  view.clear();
  for (const ProductRow& row : productRows(*host_.state().tables.products))
    view.addRow({row.caption, row.printer, row.imprimeSeparado});
}

void RoutingView::loadProdutoImpressora() {
  ProductPrinterChoice choice = productPrinterChoice(*host_.state().tables.printers);
  ui::ComboBox box = window_.combo("cbProdutoImpressora");
  box.setItems(choice.items);
  box.select(choice.selected);
}

}  // namespace routing
