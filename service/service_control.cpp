#include "service/service_control.h"

#include <algorithm>

namespace service {

using platform::ServiceHandle;
using platform::ServiceStatus;

namespace {

// The manager and one service opened with `access`, closed in reverse order
// on leaving; `failure` tells which of the two could not be opened.
class OpenService {
 public:
  OpenService(platform::ServiceManager& manager, const std::string& name, uint32_t access)
      : manager_(manager) {
    scm_ = manager.openManager(platform::kManagerConnect);
    if (scm_) service_ = manager.openService(scm_, name, access);
  }
  ~OpenService() {
    if (service_) manager_.close(service_);
    if (scm_) manager_.close(scm_);
  }
  OpenService(const OpenService&) = delete;
  OpenService& operator=(const OpenService&) = delete;

  int32_t failure() const { return !scm_ ? kNoManager : !service_ ? kNoService : 0; }
  ServiceHandle handle() const { return service_; }

 private:
  platform::ServiceManager& manager_;
  ServiceHandle scm_ = nullptr;
  ServiceHandle service_ = nullptr;
};

}  // namespace

int32_t queryServiceState(platform::ServiceManager& manager, const std::string& name) {
  OpenService service(manager, name, platform::kServiceQueryStatus);
  if (service.failure()) return service.failure();
  std::optional<ServiceStatus> status = manager.queryStatus(service.handle());
  return status ? status->state : kStatusFailed;
}

int32_t startServiceIfNeeded(platform::ServiceManager& manager, const std::string& name) {
  OpenService service(manager, name, platform::kServiceStart | platform::kServiceQueryStatus);
  if (service.failure()) return service.failure();
  std::optional<ServiceStatus> status = manager.queryStatus(service.handle());
  if (!status) return kStatusFailed;
  if (status->state != platform::kServiceRunning) manager.start(service.handle());
  return status->state;
}

bool stopServiceAndWait(platform::ServiceManager& manager, const std::string& name) {
  std::optional<ServiceStatus> last;
  {
    OpenService service(manager, name, platform::kServiceStop | platform::kServiceQueryStatus);
    if (service.failure()) return false;

    std::optional<ServiceStatus> reported;
    bool accepted = manager.controlStop(service.handle(), reported);
    if (reported) last = reported;
    std::optional<ServiceStatus> status = accepted ? manager.queryStatus(service.handle()) : std::nullopt;
    if (status) {
      last = status;
      // The wait is bounded: a service stuck in "stopping" with a steady
      // checkpoint would otherwise hold the window for ever, and a wait hint
      // of 0 would turn the poll into a busy loop.
      const uint64_t started = manager.milliseconds();
      while (last->state != platform::kServiceStopped) {
        const uint64_t waited = manager.milliseconds() - started;
        if (waited >= kStopWaitLimitMs) break;
        const uint32_t checkpoint = last->checkpoint;
        uint64_t pause = std::max<uint64_t>(last->waitHint, kStopPollMinimumMs);
        pause = std::min(pause, kStopWaitLimitMs - waited);
        manager.sleep(static_cast<uint32_t>(pause));
        status = manager.queryStatus(service.handle());
        if (!status) break;
        last = status;
        if (last->checkpoint < checkpoint) break;
      }
    }
  }
  return last && last->state == platform::kServiceStopped;
}

}  // namespace service
