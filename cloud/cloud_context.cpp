#include "cloud/cloud_context.h"

#include "config/settings.h"

namespace cloud {

std::function<void(const std::string&)> settingsTokenStore(const std::string& appDir) {
  return [appDir](const std::string& token) { config::storeToken(appDir, token); };
}

}  // namespace cloud
