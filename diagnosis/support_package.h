// The support package: one ZIP file in the application directory with what
// support asks for first. No secret goes in it: not the cloud's token, nor
// the delivery platform's password or app ID.
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
// "quelta.dll" with every secret masked, and "impressoras-windows.txt".
std::vector<PackageEntry> packageEntries(const std::string& appDir, const std::string& report,
                                         const platform::Services& services);

// Settings text in which the value of every "token", "pass" and "appID" key,
// in any section and letter case, says only whether it is set:
// "(definida)" or "(não definida)". Everything else stays as it was.
std::string maskedSettings(const std::string& text);

// Writes the package in one step (a failed write leaves no half file) and
// returns its path: in the application directory or, when that cannot take
// it, in the person's Documents folder; IOError naming the file when
// neither can.
std::string writeSupportPackage(const std::string& appDir, const std::string& report,
                                const platform::Services& services);

}  // namespace diagnosis
