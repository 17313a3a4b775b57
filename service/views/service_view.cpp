#include "service/views/service_view.h"

#include "app/main_window.h"
#include "service/service_check.h"

namespace service {

ServiceView::ServiceView(app::MainWindow& window) : window_(window) {
  window.onClick("btnRestart", [this] { btnRestartClick(); });
}

void ServiceView::btnRestartClick() {
  platform::ServiceManager* manager = window_.environment().serviceManager;
  if (manager) restartPrintService(*manager);
}

}  // namespace service
