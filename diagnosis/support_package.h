// The support package: one ZIP file in the application directory with what
// support asks for first. The token never goes in it.
#pragma once

#include <string>
#include <vector>

#include "platform/services.h"

namespace diagnosis {

// "diagnostico-AAAAMMDD-HHMMSS.zip".
std::string packageName(const platform::LocalDateTime& t);

struct PackageEntry {
  std::string name;
  std::string bytes;
};

// The entries: "relatorio.txt" (`report`), the table files that exist, the
// last three day logs as "log/<day>.txt" (looked for up to a month back),
// "quelta.dll" with every token value masked, and "impressoras-windows.txt".
std::vector<PackageEntry> packageEntries(const std::string& appDir, const std::string& report,
                                         const platform::Services& services);

// Settings text with the value of every "token" key replaced by asterisks.
std::string maskedSettings(const std::string& text);

// Writes the package in one step (a failed write leaves no half file) and
// returns its path; IOError naming the file when it cannot be written.
std::string writeSupportPackage(const std::string& appDir, const std::string& report,
                                const platform::Services& services);

}  // namespace diagnosis
