#include <windows.h>

#include "platform/process.h"

namespace platform {

bool launchHidden(const std::string& commandLine) {
  // WinExec answers 32 or more once the program is running.
  return WinExec(commandLine.c_str(), SW_HIDE) > 31;
}

}  // namespace platform
