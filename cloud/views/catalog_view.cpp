#include "cloud/views/catalog_view.h"

#include "cloud/catalog_sync.h"
#include "cloud/views/cloud_operation.h"
#include "host/operation_names.h"

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
  runCloudOperation(host_, host::kUpdatingCategories, endpoints_,
                    [](CloudContext& context, host::Operation&) { updateCatalog(context); });
}

}  // namespace cloud
