// The login screen: "Acessar" exchanges the typed user name and password for
// a token, downloads the catalog and, once that has worked, stores the token
// and moves on to the log screen.
#pragma once

#include "cloud/endpoints.h"
#include "host/view_host.h"

namespace cloud {

class LoginView {
 public:
  LoginView(host::ViewHost& host, ApiEndpoints endpoints);

  void btnLoginClick();  // "Acessar"

 private:
  host::ViewHost& host_;
  const ApiEndpoints endpoints_;
};

}  // namespace cloud
