#include "routing/views/outcome_view.h"

#include "app/main_window.h"
#include "ui/prompts.h"

namespace routing {

void applyOutcome(app::MainWindow& window, const Outcome& outcome) {
  if (outcome.refills(kRefillPrinterList)) window.loadImpressora();
  if (outcome.refills(kRefillCategoryList)) window.loadCategoria();
  if (outcome.refills(kRefillProductList)) window.loadProduto();
  if (outcome.refills(kRefillProductPrinterChoice)) window.loadProdutoImpressora();
  if (!outcome.message.empty()) ui::prompts().showMessage(outcome.message);
}

}  // namespace routing
