// The settings file "quelta.dll" shared with the print service: its name, its
// keys, the migration of the older "config.ini" and the start-up reads.
#pragma once

#include <cstdint>
#include <string>

namespace config {

inline constexpr char kSectionConfig[] = "CONFIG";
inline constexpr char kSectionTrevano[] = "TREVANO";

// The application directory: the directory of the running program, without
// a trailing separator. A test that runs the windows in a directory of its
// own names it here first.
std::string applicationDirectory();
void setApplicationDirectory(const std::string& appDir);

std::string settingsFile(const std::string& appDir);

// Renames "config.ini" to "quelta.dll" when there is one; an existing
// "quelta.dll" is never replaced (the rename then fails silently and both
// files stay as they are).
void migrateSettings(const std::string& appDir);

struct StartupSettings {
  std::string token;
  std::string companyName;
};
// "token" (default empty), then "nomeEmpresa" (default "QUELTA").
StartupSettings readStartupSettings(const std::string& appDir);

// The print service's signal that its files were rewritten.
void raiseReload(const std::string& appDir);

// Keeps the login's token for the next start.
void storeToken(const std::string& appDir, const std::string& token);

// The highest publication number of the download host's manifest that this
// installation has accepted (0 when none or unreadable): an older signed
// manifest replayed by the host is refused.
int64_t acceptedPublication(const std::string& appDir);
void storeAcceptedPublication(const std::string& appDir, int64_t number);

}  // namespace config
