#include <windows.h>

#include "platform/service_manager.h"

namespace platform {
namespace {

ServiceStatus fromWindows(const SERVICE_STATUS& s) {
  ServiceStatus status;
  status.state = static_cast<int32_t>(s.dwCurrentState);
  status.checkpoint = s.dwCheckPoint;
  status.waitHint = s.dwWaitHint;
  return status;
}

class Win32ServiceManager : public ServiceManager {
 public:
  ServiceHandle openManager(uint32_t rights) override {
    return OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, rights);
  }

  ServiceHandle openService(ServiceHandle manager, const std::string& name,
                            uint32_t rights) override {
    return OpenServiceA(static_cast<SC_HANDLE>(manager), name.c_str(), rights);
  }

  std::optional<ServiceStatus> queryStatus(ServiceHandle service) override {
    SERVICE_STATUS s{};
    if (!QueryServiceStatus(static_cast<SC_HANDLE>(service), &s)) return std::nullopt;
    return fromWindows(s);
  }

  bool start(ServiceHandle service) override {
    return StartServiceA(static_cast<SC_HANDLE>(service), 0, nullptr) != 0;
  }

  bool controlStop(ServiceHandle service, std::optional<ServiceStatus>& reported) override {
    SERVICE_STATUS s{};
    reported.reset();
    if (ControlService(static_cast<SC_HANDLE>(service), SERVICE_CONTROL_STOP, &s)) {
      reported = fromWindows(s);
      return true;
    }
    // For these refusals the manager still fills in the current status.
    DWORD code = GetLastError();
    if (code == ERROR_SERVICE_NOT_ACTIVE || code == ERROR_SERVICE_CANNOT_ACCEPT_CTRL ||
        code == ERROR_INVALID_SERVICE_CONTROL) {
      if (s.dwCurrentState != 0) reported = fromWindows(s);
    }
    return false;
  }

  void close(ServiceHandle handle) override { CloseServiceHandle(static_cast<SC_HANDLE>(handle)); }

  void sleep(uint32_t milliseconds) override { Sleep(milliseconds); }

  uint64_t milliseconds() override { return GetTickCount64(); }
};

}  // namespace

ServiceManager& systemServiceManager() {
  static Win32ServiceManager manager;
  return manager;
}

}  // namespace platform
