#include "cloud/views/catalog_view.h"

#include "cloud/catalog_sync.h"
#include "cloud/views/window_cloud_context.h"
#include "ui/cursor.h"

namespace cloud {
namespace {

const ui::ControlSpec kControls[] = {
    {ui::Kind::Button, "btnUpdate", "gbConfig", "Atualizar", 296, 8, 90, 25},
};

}  // namespace

std::span<const ui::ControlSpec> CatalogView::controls() { return kControls; }

CatalogView::CatalogView(host::ViewHost& host, ApiEndpoints endpoints)
    : host_(host), endpoints_(std::move(endpoints)) {
  host.form().onClick("btnUpdate", [this] { btnUpdateClick(); });
}

void CatalogView::btnUpdateClick() {
  ui::BusyCursor busy;
  CloudContext context = windowCloudContext(host_, endpoints_);
  updateCatalog(context);
}

}  // namespace cloud
