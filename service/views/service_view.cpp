#include "service/views/service_view.h"

#include "service/service_check.h"

namespace service {
namespace {

const ui::ControlSpec kControls[] = {
    {ui::Kind::Button, "btnRestart", "gbConfig", "Reiniciar Servidor", 170, 8, 120, 25},
};

}  // namespace

std::span<const ui::ControlSpec> ServiceView::controls() { return kControls; }

ServiceView::ServiceView(host::ViewHost& host) : host_(host) {
  host.form().onClick("btnRestart", [this] { btnRestartClick(); });
}

void ServiceView::btnRestartClick() { restartPrintService(*host_.services().serviceManager); }

}  // namespace service
