#include "cloud/views/catalog_view.h"

#include "cloud/catalog_sync.h"
#include "cloud/views/window_cloud_context.h"
#include "ui/cursor.h"

namespace cloud {

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
