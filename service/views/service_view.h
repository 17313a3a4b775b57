// The configuration screen's "Reiniciar Servidor".
#pragma once

#include <span>

#include "host/view_host.h"

namespace service {

class ServiceView {
 public:
  // Its button, on the main window's configuration screen gbConfig.
  static std::span<const ui::ControlSpec> controls();

  explicit ServiceView(host::ViewHost& host);

  // Stops the print service, waits for it to stop, then asks for the start.
  // Shows nothing and leaves the cursor alone, as every service operation.
  void btnRestartClick();

 private:
  host::ViewHost& host_;
};

}  // namespace service
