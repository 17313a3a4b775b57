#include "service/views/service_view.h"

#include "service/service_check.h"

namespace service {

ServiceView::ServiceView(host::ViewHost& host) : host_(host) {
  host.form().onClick("btnRestart", [this] { btnRestartClick(); });
}

void ServiceView::btnRestartClick() { restartPrintService(*host_.services().serviceManager); }

}  // namespace service
