#include "cloud/views/catalog_view.h"

#include "app/main_window.h"
#include "cloud/catalog_sync.h"
#include "cloud/views/window_cloud_context.h"
#include "ui/cursor.h"

namespace cloud {

CatalogView::CatalogView(app::MainWindow& window) : window_(window) {
  window.onClick("btnUpdate", [this] { btnUpdateClick(); });
}

void CatalogView::btnUpdateClick() {
  ui::BusyCursor busy;
  CloudContext context = windowCloudContext(window_);
  updateCatalog(context);
}

}  // namespace cloud
