#include "routing/views/routing_view.h"

#include "routing/category_routing.h"
#include "host/operation_names.h"
#include "routing/config_save.h"
#include "routing/printer_table.h"
#include "routing/product_routing.h"

namespace routing {
namespace {

using ui::Kind;

// clang-format off
const ui::ControlSpec kControls[] = {
    {Kind::Button, "btnConfigSave", "gbConfig", "Salvar", 446, 8, 75, 25},
    {Kind::PageControl, "PageControl1", "gbConfig", "", 8, 40, 513, 300},
    {Kind::Page, "tsCategoria", "PageControl1", "Categorias", 0, 0, 0, 0},
    {Kind::ListView, "lvCategoria", "tsCategoria", "", 4, 4, 497, 258},
    {Kind::Page, "tsProduto", "PageControl1", "Produtos", 0, 0, 0, 0},
    {Kind::ListView, "lvProduto", "tsProduto", "", 4, 4, 497, 170},
    {Kind::Label, "lbProdutoNome", "tsProduto", "Nome:", 4, 186, 40, 14},
    {Kind::Edit, "edtProdutoNome", "tsProduto", "", 48, 182, 170, 21},
    {Kind::Label, "lbProdutoImpressora", "tsProduto", "Impressora:", 222, 186, 68, 14},
    {Kind::ComboList, "cbProdutoImpressora", "tsProduto", "", 290, 182, 210, 200},
    {Kind::Label, "lbProdutoSeparado", "tsProduto", "Separa Item:", 4, 218, 74, 14},
    {Kind::ComboList, "cbProdutoSeparado", "tsProduto", "", 80, 214, 70, 100},
    {Kind::Button, "btnProdutoAdicionar", "tsProduto", "Adicionar", 314, 212, 90, 25},
    {Kind::Button, "btnProdutoRemover", "tsProduto", "Remover", 410, 212, 90, 25},
};
// clang-format on

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

std::span<const ui::ControlSpec> RoutingView::controls() { return kControls; }

RoutingView::RoutingView(host::ViewHost& host)
    : host_(host),
      window_(host.form),
      categories_(window_.list("lvCategoria")),
      products_(window_.list("lvProduto")),
      productName_(window_.control("edtProdutoNome")),
      productPrinter_(window_.combo("cbProdutoImpressora")),
      productSeparado_(window_.combo("cbProdutoSeparado")),
      printers_(window_.list("lvImpressora")) {
  categories_.addColumn("Categoria", 237);
  categories_.addColumn("Impressora", 220);
  products_.addColumn("Produto", 150);
  products_.addColumn("Impressora", 200);
  products_.addColumn("Separa Item", 100);
  productSeparado_.setItems(productSeparadoItems());
  productSeparado_.select(1);

  window_.onSelectItem("lvCategoria",
                       [this](int row, bool selected) { lvCategoriaSelectItem(row, selected); });
  window_.onClick("btnProdutoAdicionar", [this] { btnProdutoAdicionarClick(); });
  window_.onClick("btnProdutoRemover", [this] { btnProdutoRemoverClick(); });
  window_.onClick("btnConfigSave", [this] { btnConfigSaveClick(); });
}

void RoutingView::lvCategoriaSelectItem(int row, bool selected) {
  if (!selected) return;
  const CategoryPick pick = pickPrinterFor(printerListRows(printers_));
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
  if (popupRow_ >= 0 && popupRow_ < categories_.rowCount())
    categories_.setCell(popupRow_, 1, entry);
}

void RoutingView::btnProdutoAdicionarClick() {
  host_.apply(addProduct(host_.state.tables, productName_.text(), productPrinter_.selectedText(),
                         productSeparado_.selectedText()));
}

void RoutingView::btnProdutoRemoverClick() {
  host_.apply(
      removeProduct(host_.state.tables, productListRows(products_), products_.selectedIndex()));
}

void RoutingView::btnConfigSaveClick() {
  host::Busy busy(host_.prompts());
  const auto rows = categoryListRows(categories_);
  // Each file is tried again while the print service holds it.
  host_.operations.run(host::kSaving, [&](host::Operation&) {
    saveConfiguration(host_.state.tables, rows, host_.state.appDir);
  });
}

void RoutingView::loadCategoria() {
  categories_.clear();
  for (const CategoryRow& row : categoryRows(*host_.state.tables.categories))
    categories_.addRow({row.caption, row.printer});
}

void RoutingView::loadProduto() {
  products_.clear();
  for (const ProductRow& row : productRows(*host_.state.tables.products))
    products_.addRow({row.caption, row.printer, row.imprimeSeparado});
}

void RoutingView::loadProdutoImpressora() {
  ProductPrinterChoice choice = productPrinterChoice(*host_.state.tables.printers);
  productPrinter_.setItems(choice.items);
  productPrinter_.select(choice.selected);
}

}  // namespace routing
