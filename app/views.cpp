// The views of the subsystems on the main window. Each view is a small class
// in <subsystem>/views/ holding the handlers of its controls (named after
// them, as btnPrinterAddClick); its constructor binds them to the window.
#include "app/main_window.h"
#include "cloud/views/catalog_view.h"
#include "cloud/views/login_view.h"
#include "print/views/test_view.h"
#include "routing/views/printer_view.h"
#include "routing/views/routing_view.h"
#include "service/views/service_view.h"

namespace app {

void MainWindow::attachViews() {
  views_.push_back(std::make_shared<service::ServiceView>(*this));
  views_.push_back(std::make_shared<print::TestView>(*this));
  views_.push_back(std::make_shared<routing::PrinterView>(*this));
  views_.push_back(std::make_shared<routing::RoutingView>(*this));
  views_.push_back(std::make_shared<cloud::LoginView>(*this));
  views_.push_back(std::make_shared<cloud::CatalogView>(*this));
}

}  // namespace app
