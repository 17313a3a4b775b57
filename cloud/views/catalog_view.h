// "Atualizar" on the configuration screen: the restaurant's categories and
// auxiliary cards downloaded again, keeping the saved printer routes.
#pragma once

#include <span>

#include "cloud/endpoints.h"
#include "host/view_host.h"

namespace cloud {

class CatalogView {
 public:
  // Its button, on the main window's configuration screen gbConfig.
  static std::span<const ui::ControlSpec> controls();

  CatalogView(host::ViewHost& host, ApiEndpoints endpoints);

  void btnUpdateClick();  // "Atualizar"

 private:
  host::ViewHost& host_;
  const ApiEndpoints endpoints_;
};

}  // namespace cloud
