// The three service operations of QueltaUtil. None of them shows a message
// or raises: the outcome is the result alone.
#pragma once

#include <cstdint>
#include <string>

#include "platform/service_manager.h"

namespace service {

// Results of queryServiceState and startServiceIfNeeded other than a state.
inline constexpr int32_t kNoManager = -2;    // the manager could not be opened
inline constexpr int32_t kNoService = -1;    // not installed, or no access
inline constexpr int32_t kStatusFailed = 0;  // the status query failed

// Limits of the stop wait: a service that reports a wait hint of 0 is still
// polled no faster than this, and one that never finishes stopping is given
// up on after the total.
inline constexpr uint32_t kStopPollMinimumMs = 100;
inline constexpr uint64_t kStopWaitLimitMs = 60000;

// The service's current state, or one of the negative/zero results above.
int32_t queryServiceState(platform::ServiceManager& manager, const std::string& name);

// The state found before anything was done; unless it is running (4), a
// start is requested, whose outcome is not awaited or looked at.
int32_t startServiceIfNeeded(platform::ServiceManager& manager, const std::string& name);

// Sends the stop control and waits while the service reports it is
// stopping with a rising checkpoint. True when the last state read was
// stopped.
bool stopServiceAndWait(platform::ServiceManager& manager, const std::string& name);

}  // namespace service
