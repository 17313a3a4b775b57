// The print service as the tool looks after it: installed and started at
// every start of the tool, restarted on request. Nothing here is shown to
// the user.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/service_manager.h"

namespace service {

inline constexpr char kPrintServiceName[] = "QueltaServicoImpressao";
inline constexpr char kPrintServiceProgram[] = "queltaService.exe";

// Starts a command line hidden without waiting; false when it could not be
// started (the platform process's launchHidden in the program).
using Launcher = std::function<bool(const std::string& commandLine)>;

// How long the check gives a freshly launched installer to register the
// service before it asks for the start, and how often it looks.
inline constexpr uint64_t kInstallWaitLimitMs = 5000;
inline constexpr uint32_t kInstallPollMs = 100;

// The installer's command line for the application directory. The program
// path is quoted, so a directory with blanks never runs another program.
std::string installerCommandLine(const std::string& applicationDirectory);

// The start-up check: a service that is running is left alone; one that
// gives no state is installed first; every other one is asked to start.
void checkPrintService(platform::ServiceManager& manager, const std::string& applicationDirectory,
                       const Launcher& launch);

// "Reiniciar Servidor": stop and wait, then ask for the start.
void restartPrintService(platform::ServiceManager& manager);

}  // namespace service
