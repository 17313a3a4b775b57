// The login screen: "Acessar" exchanges the typed user name and password for
// a token, downloads the catalog and, once that has worked, stores the token
// and moves on to the log screen.
#pragma once

namespace app {
class MainWindow;
}

namespace cloud {

class LoginView {
 public:
  explicit LoginView(app::MainWindow& window);

  void btnLoginClick();  // "Acessar"

 private:
  app::MainWindow& window_;
};

}  // namespace cloud
