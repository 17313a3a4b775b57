#include "app/settings.h"

#include "platform/files.h"
#include "platform/profile.h"
#include "routing/config_file.h"

namespace app {
namespace {
std::string overriddenDirectory;
}

std::string applicationDirectory() {
  return overriddenDirectory.empty() ? platform::programDirectory() : overriddenDirectory;
}

void setApplicationDirectory(const std::string& appDir) { overriddenDirectory = appDir; }

std::string settingsFile(const std::string& appDir) {
  return routing::appFile(appDir, routing::kSettingsFile);
}

void migrateSettings(const std::string& appDir) {
  std::string old = routing::appFile(appDir, "config.ini");
  if (platform::fileExists(old)) platform::moveFileNoReplace(old, settingsFile(appDir));
}

StartupSettings readStartupSettings(const std::string& appDir) {
  StartupSettings s;
  s.token = platform::readProfileString(settingsFile(appDir), kSectionConfig, "token", "");
  s.companyName =
      platform::readProfileString(settingsFile(appDir), kSectionConfig, "nomeEmpresa", "QUELTA");
  return s;
}

void raiseReload(const std::string& appDir) {
  platform::writeProfileString(settingsFile(appDir), kSectionConfig, "reload", "S");
}

}  // namespace app
