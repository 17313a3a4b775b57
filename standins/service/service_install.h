// Registering and removing the print service with the service control
// manager. Both run without any window; errors go to the daily log and the
// exit code.
#pragma once

#include <string>

namespace standin {

inline constexpr char kServiceName[] = "QueltaServicoImpressao";
inline constexpr char kServiceDisplayName[] = "Quelta Servico de Impressao";

// Registers this program (own process, demand start). A service already
// registered is pointed at this program and kept. 0 on success.
int installService(const std::string& programPath);

// Stops the service when it runs and removes it. A service that is not
// registered counts as removed. 0 on success.
int uninstallService(const std::string& programPath);

}  // namespace standin
