#include "cloud/views/catalog_view.h"

#include "cloud/catalog_sync.h"

namespace cloud {
namespace {

const ui::ControlSpec kControls[] = {
    {ui::Kind::Button, "btnUpdate", "gbConfig", "Atualizar", 296, 8, 90, 25},
};

}  // namespace

std::span<const ui::ControlSpec> CatalogView::controls() { return kControls; }

CatalogView::CatalogView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host), endpoints_(std::move(endpoints)) {
  host.form.onClick("btnUpdate", [this] { btnUpdateClick(); });
}

void CatalogView::btnUpdateClick() {
  host::Busy busy(host_.prompts());
  host::AppState& state = host_.state;
  CloudContext context{host_.http,  host_.prompts(), endpoints_,
                       state.token, state.tables,    state.appDir};
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
