// "Atualizar" on the configuration screen: the restaurant's categories and
// auxiliary cards downloaded again, keeping the saved printer routes.
#pragma once

namespace app {
class MainWindow;
}

namespace cloud {

class CatalogView {
 public:
  explicit CatalogView(app::MainWindow& window);

  void btnUpdateClick();  // "Atualizar"

 private:
  app::MainWindow& window_;
};

}  // namespace cloud
