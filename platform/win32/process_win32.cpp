#include <windows.h>

#include "platform/process.h"

namespace platform {

bool launchHidden(const std::string& commandLine) {
  // WinExec answers 32 or more once the program is running.
  return WinExec(commandLine.c_str(), SW_HIDE) > 31;
}

namespace {

class SystemProcess : public Process {
 public:
  bool launchHidden(const std::string& commandLine) override {
    return platform::launchHidden(commandLine);
  }
  void pause(int milliseconds) override { Sleep(static_cast<DWORD>(milliseconds)); }
  void endProgram() override { PostQuitMessage(0); }
};

}  // namespace

Process& systemProcess() {
  static SystemProcess process;
  return process;
}

}  // namespace platform
