#include "service/service_control.h"

#include <algorithm>

namespace service {

using platform::ServiceHandle;
using platform::ServiceStatus;

namespace {

// Closes the service handle, then the manager handle, each only when open.
class Handles {
 public:
  explicit Handles(platform::ServiceManager& manager) : manager_(manager) {}
  ~Handles() {
    if (service) manager_.close(service);
    if (scm) manager_.close(scm);
  }
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;

  ServiceHandle scm = nullptr;
  ServiceHandle service = nullptr;

 private:
  platform::ServiceManager& manager_;
};

}  // namespace

int32_t queryServiceState(platform::ServiceManager& manager, const std::string& name) {
  Handles h(manager);
  h.scm = manager.openManager(platform::kManagerConnect);
  if (!h.scm) return kNoManager;
  h.service = manager.openService(h.scm, name, platform::kServiceQueryStatus);
  if (!h.service) return kNoService;
  std::optional<ServiceStatus> status = manager.queryStatus(h.service);
  return status ? status->state : kStatusFailed;
}

int32_t startServiceIfNeeded(platform::ServiceManager& manager, const std::string& name) {
  Handles h(manager);
  h.scm = manager.openManager(platform::kManagerConnect);
  if (!h.scm) return kNoManager;
  h.service =
      manager.openService(h.scm, name, platform::kServiceStart | platform::kServiceQueryStatus);
  if (!h.service) return kNoService;
  std::optional<ServiceStatus> status = manager.queryStatus(h.service);
  if (!status) return kStatusFailed;
  if (status->state != platform::kServiceRunning) manager.start(h.service);
  return status->state;
}

bool stopServiceAndWait(platform::ServiceManager& manager, const std::string& name) {
  std::optional<ServiceStatus> last;
  {
    Handles h(manager);
    h.scm = manager.openManager(platform::kManagerConnect);
    if (!h.scm) return false;
    h.service =
        manager.openService(h.scm, name, platform::kServiceStop | platform::kServiceQueryStatus);
    if (!h.service) return false;

    std::optional<ServiceStatus> reported;
    bool accepted = manager.controlStop(h.service, reported);
    if (reported) last = reported;
    std::optional<ServiceStatus> status = accepted ? manager.queryStatus(h.service) : std::nullopt;
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
        status = manager.queryStatus(h.service);
        if (!status) break;
        last = status;
        if (last->checkpoint < checkpoint) break;
      }
    }
  }
  return last && last->state == platform::kServiceStopped;
}

}  // namespace service
