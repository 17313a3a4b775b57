// The page "Produtos": product routes by name, their sorted list and the
// printer choice for a new route.
#pragma once

#include <string>
#include <vector>

#include "host/outcome.h"
#include "json/json.h"
#include "routing/tables.h"

namespace routing {

inline constexpr char kNoProductSelected[] = "Nenhum produto selecionad0";

// One row of lvProduto.
struct ProductRow {
  std::string caption;          // "name"
  std::string printer;          // "printer", "" when missing
  std::string imprimeSeparado;  // "imprimeSeparado", "" when missing
};

// The rows of the product list (loadProduto), sorted by caption. A record
// without "name" raises the library's not-found error.
std::vector<ProductRow> productRows(const json::TJSONArray& products);

// Items of cbProdutoImpressora (loadProdutoImpressora): every printer's
// "name" in table order; the first is selected, none when there is none.
struct ProductPrinterChoice {
  std::vector<std::string> items;
  int selected = -1;
};
ProductPrinterChoice productPrinterChoice(const json::TJSONArray& printers);

// Items of cbProdutoSeparado; "Não" is selected at start.
const std::vector<std::string>& productSeparadoItems();

// "Adicionar": a new route from the page's controls, texts stored exactly
// as they stand. Nothing is validated; an empty or repeated name is taken.
host::Outcome addProduct(Tables& tables, const std::string& name, const std::string& printer,
                         const std::string& imprimeSeparado);

// "Remover" on product list row `selectedRow` (-1: none) of `rows`: every
// record whose "name" is the row's caption goes (case-sensitive). When a
// record has no "name" the library's not-found error leaves the table as
// it was.
host::Outcome removeProduct(Tables& tables, const std::vector<ProductRow>& rows, int selectedRow);

}  // namespace routing
