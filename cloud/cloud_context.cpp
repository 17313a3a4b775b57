#include "cloud/cloud_context.h"

#include "platform/profile.h"
#include "routing/config_file.h"

namespace cloud {

std::function<void(const std::string&)> settingsTokenStore(const std::string& appDir) {
  std::string file = routing::appFile(appDir, routing::kSettingsFile);
  return [file](const std::string& token) {
    platform::writeProfileString(file, "CONFIG", "token", token);
  };
}

}  // namespace cloud
