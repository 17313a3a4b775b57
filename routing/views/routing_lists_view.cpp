// The lists of the configuration screen, refilled from the tables.
#include "app/main_window.h"
#include "routing/category_routing.h"
#include "routing/printer_table.h"
#include "routing/product_routing.h"

namespace app {

void MainWindow::loadImpressora() {
  ui::ListView view = list("lvImpressora");
  view.clear();
  for (const routing::PrinterRow& row : routing::printerRows(*state_.tables.printers))
    view.addRow({row.caption, row.tipo, row.padrao});
}

void MainWindow::loadCategoria() {
  ui::ListView view = list("lvCategoria");
  view.clear();
  for (const routing::CategoryRow& row : routing::categoryRows(*state_.tables.categories))
    view.addRow({row.caption, row.printer});
}

void MainWindow::loadProduto() {
  ui::ListView view = list("lvProduto");
  view.clear();
  for (const routing::ProductRow& row : routing::productRows(*state_.tables.products))
    view.addRow({row.caption, row.printer, row.imprimeSeparado});
}

void MainWindow::loadProdutoImpressora() {
  routing::ProductPrinterChoice choice = routing::productPrinterChoice(*state_.tables.printers);
  ui::ComboBox box = combo("cbProdutoImpressora");
  box.setItems(choice.items);
  box.select(choice.selected);
}

}  // namespace app
