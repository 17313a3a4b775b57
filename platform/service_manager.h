// The Windows service control manager, reduced to the calls the program
// makes: open the manager and a service with given access rights, read a
// service's status, start it, send it the stop control, close handles. The
// pause and the clock of the stop wait come from here as well, so the wait
// can be driven without time passing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// An open manager or service; nullptr when opening failed.
using ServiceHandle = void*;

// Access rights, as the Windows service API numbers them.
inline constexpr uint32_t kManagerConnect = 0x0001;      // SC_MANAGER_CONNECT
inline constexpr uint32_t kServiceQueryStatus = 0x0004;  // SERVICE_QUERY_STATUS
inline constexpr uint32_t kServiceStart = 0x0010;        // SERVICE_START
inline constexpr uint32_t kServiceStop = 0x0020;         // SERVICE_STOP

// Service states, as the manager reports them.
inline constexpr int32_t kServiceStopped = 1;
inline constexpr int32_t kServiceStopPending = 3;
inline constexpr int32_t kServiceRunning = 4;

struct ServiceStatus {
  int32_t state = 0;
  uint32_t checkpoint = 0;
  uint32_t waitHint = 0;  // milliseconds
};

class ServiceManager {
 public:
  virtual ~ServiceManager() = default;

  // The manager of the local computer, its active services database.
  virtual ServiceHandle openManager(uint32_t rights) = 0;
  virtual ServiceHandle openService(ServiceHandle manager, const std::string& name,
                                    uint32_t rights) = 0;
  virtual std::optional<ServiceStatus> queryStatus(ServiceHandle service) = 0;
  // A start request without arguments; true when the manager accepted it.
  virtual bool start(ServiceHandle service) = 0;
  // Sends the stop control; true when accepted. `reported` receives the
  // status the manager returned with the answer, which it also does for some
  // refusals (a service that is not running).
  virtual bool controlStop(ServiceHandle service, std::optional<ServiceStatus>& reported) = 0;
  virtual void close(ServiceHandle handle) = 0;

  virtual void sleep(uint32_t milliseconds) = 0;
  // A monotonic clock in milliseconds.
  virtual uint64_t milliseconds() = 0;
};

// The real service control manager (Windows only).
ServiceManager& systemServiceManager();

}  // namespace platform
