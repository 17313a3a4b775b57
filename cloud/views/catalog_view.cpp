#include "cloud/views/catalog_view.h"

#include "cloud/catalog_sync.h"

namespace cloud {

CatalogView::CatalogView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host), endpoints_(std::move(endpoints)) {
  host.form().onClick("btnUpdate", [this] { btnUpdateClick(); });
}

void CatalogView::btnUpdateClick() {
  host::Busy busy(host_.prompts());
  host::AppState& state = host_.state();
  CloudContext context{host_.http(), host_.prompts(), endpoints_,
                       state.token,  state.tables,    state.appDir};
  try {
    updateCatalog(context);
  } catch (...) {
    // Categories that came before the cards failed are in the list all the
    // same.
    host_.apply({"", context.refill});
    throw;
  }
  host_.apply({"", context.refill});
}

}  // namespace cloud
