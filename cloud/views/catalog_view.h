// "Atualizar" on the configuration screen: the restaurant's categories and
// auxiliary cards downloaded again, keeping the saved printer routes.
#pragma once

#include "cloud/endpoints.h"
#include "host/view_host.h"

namespace cloud {

class CatalogView {
 public:
  CatalogView(host::ViewHost& host, ApiEndpoints endpoints);

  void btnUpdateClick();  // "Atualizar"

 private:
  host::ViewHost& host_;
  const ApiEndpoints endpoints_;
};

}  // namespace cloud
