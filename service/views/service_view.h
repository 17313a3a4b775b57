// The configuration screen's "Reiniciar Servidor".
#pragma once

namespace app {
class MainWindow;
}

namespace service {

class ServiceView {
 public:
  explicit ServiceView(app::MainWindow& window);

  // Stops the print service, waits for it to stop, then asks for the start.
  // Shows nothing and leaves the cursor alone, as every service operation.
  void btnRestartClick();

 private:
  app::MainWindow& window_;
};

}  // namespace service
