// The configuration screen's "Reiniciar Servidor".
#pragma once

#include "host/view_host.h"

namespace service {

class ServiceView {
 public:
  explicit ServiceView(host::ViewHost& host);

  // Stops the print service, waits for it to stop, then asks for the start.
  // Shows nothing and leaves the cursor alone, as every service operation.
  void btnRestartClick();

 private:
  host::ViewHost& host_;
};

}  // namespace service
