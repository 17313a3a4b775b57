#include "app/production_environment.h"

#include "platform/epson_library.h"
#include "platform/process.h"
#include "platform/service_manager.h"
#include "routing/views/popup_menu.h"
#include "service/service_check.h"
#include "update/update.h"

namespace app {

Environment productionEnvironment() {
  Environment env;
  env.printServiceCheck = [](const std::string& appDir) {
    service::checkPrintService(platform::systemServiceManager(), appDir, platform::launchHidden);
  };
  env.serviceManager = &platform::systemServiceManager();
  env.clock = &platform::systemClock();
  env.printServices = print::systemPrintServices();
  env.popupMenu = routing::trackPopupMenuAtCursor;
  env.epson = &platform::systemEpsonLibrary();
  env.updateManifestUrl = update::versionManifestUrl();
  env.updateArchiveUrl = update::updateArchiveUrl();
  env.launchHidden = platform::launchHidden;
  env.endProgram = [] { PostQuitMessage(0); };
  return env;
}

}  // namespace app
