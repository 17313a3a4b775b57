// The login screen: "Acessar" exchanges the typed user name and password for
// a token, downloads the catalog and, once that has worked, stores the token
// and moves on to the log screen.
#pragma once

#include <span>

#include "cloud/endpoints.h"
#include "host/view_host.h"

namespace cloud {

class LoginView {
 public:
  // Its controls, on the main window's login screen gbLogin.
  static std::span<const ui::ControlSpec> controls();

  LoginView(host::ViewHost& host, ApiEndpoints endpoints);

  void btnLoginClick();  // "Acessar"

 private:
  host::ViewHost& host_;
  const ApiEndpoints endpoints_;
  ui::Control user_, password_;
};

}  // namespace cloud
