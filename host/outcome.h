// What an action hands back to the window: an information message to show,
// and the lists to fill again from the tables.
#pragma once

#include <string>

namespace host {

enum Refill : unsigned {
  kRefillNothing = 0,
  kRefillPrinterList = 1,           // loadImpressora
  kRefillCategoryList = 2,          // loadCategoria
  kRefillProductList = 4,           // loadProduto
  kRefillProductPrinterChoice = 8,  // loadProdutoImpressora
};

struct Outcome {
  std::string message;  // shown in an information box when not empty
  unsigned refill = kRefillNothing;

  bool refills(Refill list) const { return (refill & list) != 0; }
};

}  // namespace host
