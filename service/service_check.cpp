#include "service/service_check.h"

#include "service/service_control.h"

namespace service {

std::string installerCommandLine(const std::string& applicationDirectory) {
  return "\"" + applicationDirectory + "\\" + kPrintServiceProgram + "\" /INSTALL /SILENT";
}

void checkPrintService(platform::ServiceManager& manager, const std::string& applicationDirectory,
                       const Launcher& launch) {
  int32_t state = queryServiceState(manager, kPrintServiceName);
  if (state == platform::kServiceRunning) return;
  if (state <= 0) {
    bool launched = launch(installerCommandLine(applicationDirectory));
    // The installer runs on its own; a start requested before it has
    // registered the service would find nothing, and the service would stay
    // down until the next start of the tool. So give it a few seconds to
    // appear, but only while it is plainly missing.
    if (launched && state == kNoService) {
      const uint64_t started = manager.milliseconds();
      while (manager.milliseconds() - started < kInstallWaitLimitMs) {
        manager.sleep(kInstallPollMs);
        if (queryServiceState(manager, kPrintServiceName) != kNoService) break;
      }
    }
  }
  startServiceIfNeeded(manager, kPrintServiceName);
}

void restartPrintService(platform::ServiceManager& manager) {
  stopServiceAndWait(manager, kPrintServiceName);
  startServiceIfNeeded(manager, kPrintServiceName);
}

}  // namespace service
