// The page "Categorias": the category list with the printer picked for each
// row, and the popup of printers it opens.
#pragma once

#include <string>
#include <vector>

#include "json/json.h"
#include "routing/printer_table.h"

namespace routing {

inline constexpr char kNoPrinterAdded[] = "Nenhuma impressora adicionada";

// One row of lvCategoria. `printer` is the "Impressora" column: the
// record's printer when filled, a pending pick afterwards.
struct CategoryRow {
  std::string caption;
  std::string printer;
};

// The rows of the category list (loadCategoria), sorted by caption; rows
// built afresh, so pending picks are dropped. A record without "name"
// raises the library's not-found error.
std::vector<CategoryRow> categoryRows(const json::TJSONArray& categories);

// The entries of the printer popup, one per printer list row in its order:
// the caption without the old default mark, verbatim.
std::vector<std::string> printerPopupEntries(const std::vector<PrinterRow>& printerRows);

// What selecting a category row does (lvProdutoSelectItem): the popup's
// entries, or, when no printer exists, the message to show instead.
struct CategoryPick {
  std::string message;
  std::vector<std::string> entries;
};
CategoryPick pickPrinterFor(const std::vector<PrinterRow>& printerRows);

// A chosen popup entry goes into the remembered row (HandlePopupItem); it
// reaches the category record only with the configuration save.
void assignPrinter(std::vector<CategoryRow>& rows, int row, const std::string& entry);

}  // namespace routing
