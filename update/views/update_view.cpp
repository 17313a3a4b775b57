// The version check of the main window's first activation and, on "Yes",
// the self-update: the window's HTTP client, its prompts and hourglass, and
// the platform services of the environment.
#include "app/main_window.h"
#include "service/service_check.h"
#include "service/service_control.h"
#include "ui/cursor.h"
#include "ui/prompts.h"
#include "update/update.h"

namespace app {

void MainWindow::versionCheck() {
  if (env_.updateManifestUrl.empty()) return;
  update::UpdateContext context{IdHTTP1,
                                state_.appDir,
                                config::kVersion,
                                env_.updateManifestUrl,
                                env_.updateArchiveUrl,
                                {},
                                {},
                                {},
                                {},
                                {},
                                {}};
  context.confirm = [](const std::string& caption, const std::string& text) {
    return ui::prompts().confirm(caption, text);
  };
  context.showMessage = [](const std::string& text) { ui::prompts().showMessage(text); };
  context.setBusy = [](bool busy) { ui::setBusy(busy); };
  context.stopPrintService = [this] {
    if (env_.serviceManager)
      service::stopServiceAndWait(*env_.serviceManager, service::kPrintServiceName);
  };
  context.launch = env_.launchHidden;
  context.endProgram = env_.endProgram;
  update::checkForUpdate(context);
}

}  // namespace app
