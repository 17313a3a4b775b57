#include "config/settings.h"

#include "config/config_file.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace config {
namespace {
std::string overriddenDirectory;
// A key of our own, beside the print service's.
const char kAcceptedPublication[] = "publicacaoAceita";
}  // namespace

std::string applicationDirectory() {
  return overriddenDirectory.empty() ? platform::programDirectory() : overriddenDirectory;
}

void setApplicationDirectory(const std::string& appDir) { overriddenDirectory = appDir; }

std::string settingsFile(const std::string& appDir) {
  return config::appFile(appDir, config::kSettingsFile);
}

void migrateSettings(const std::string& appDir) {
  std::string old = config::appFile(appDir, "config.ini");
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

void storeToken(const std::string& appDir, const std::string& token) {
  platform::writeProfileString(settingsFile(appDir), kSectionConfig, "token", token);
}

int64_t acceptedPublication(const std::string& appDir) {
  std::string text =
      platform::readProfileString(settingsFile(appDir), kSectionConfig, kAcceptedPublication, "");
  int64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || number > INT32_MAX) return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

void storeAcceptedPublication(const std::string& appDir, int64_t number) {
  platform::writeProfileString(settingsFile(appDir), kSectionConfig, kAcceptedPublication,
                               std::to_string(number));
}

}  // namespace config
