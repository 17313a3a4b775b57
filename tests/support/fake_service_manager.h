// A scripted service control manager: answers from a script and records
// every call with its arguments, so tests see the exact rights, order and
// closes. Sleeping only moves its clock.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/service_manager.h"

class FakeServiceManager : public platform::ServiceManager {
 public:
  using Status = platform::ServiceStatus;

  static Status status(int32_t state, uint32_t checkpoint = 0, uint32_t waitHint = 0) {
    Status s;
    s.state = state;
    s.checkpoint = checkpoint;
    s.waitHint = waitHint;
    return s;
  }

  // Script.
  bool managerOpens = true;
  std::function<bool()> serviceExists = [] { return true; };
  // Answers of successive status queries; the last one repeats. nullopt is
  // a failed query.
  std::deque<std::optional<Status>> queries;
  bool stopAccepted = true;
  std::optional<Status> stopReport;
  bool startAccepted = true;
  // Runs when the stop control is sent.
  std::function<void()> onStop;

  // Record.
  std::vector<std::string> calls;
  uint64_t now = 1000000;
  uint64_t slept = 0;
  int sleeps = 0;

  platform::ServiceHandle openManager(uint32_t rights) override {
    calls.push_back("openManager " + std::to_string(rights));
    return managerOpens ? &managerToken_ : nullptr;
  }

  platform::ServiceHandle openService(platform::ServiceHandle manager, const std::string& name,
                                      uint32_t rights) override {
    calls.push_back("openService " + name + " " + std::to_string(rights) +
                    (manager == &managerToken_ ? "" : " (bad manager)"));
    return serviceExists() ? &serviceToken_ : nullptr;
  }

  std::optional<Status> queryStatus(platform::ServiceHandle service) override {
    calls.push_back(service == &serviceToken_ ? "query" : "query (bad handle)");
    if (queries.empty()) return std::nullopt;
    std::optional<Status> answer = queries.front();
    if (queries.size() > 1) queries.pop_front();
    return answer;
  }

  bool start(platform::ServiceHandle service) override {
    calls.push_back(service == &serviceToken_ ? "start" : "start (bad handle)");
    return startAccepted;
  }

  bool controlStop(platform::ServiceHandle service, std::optional<Status>& reported) override {
    calls.push_back(service == &serviceToken_ ? "stop" : "stop (bad handle)");
    if (onStop) onStop();
    reported = stopReport;
    return stopAccepted;
  }

  void close(platform::ServiceHandle handle) override {
    calls.push_back(handle == &managerToken_   ? "close manager"
                    : handle == &serviceToken_ ? "close service"
                                               : "close (bad handle)");
  }

  void sleep(uint32_t milliseconds) override {
    calls.push_back("sleep " + std::to_string(milliseconds));
    now += milliseconds;
    slept += milliseconds;
    // A wait that makes no progress would spin for ever here; an hour
    // jumps past any bound so the test ends and reports it.
    if (++sleeps % 100000 == 0) now += 3600000;
    if (sleeps > 1000000) throw std::runtime_error("the wait never ends");
  }

  uint64_t milliseconds() override { return now; }

  // The calls without the sleeps, for checks of the call order.
  std::vector<std::string> callsWithoutSleeps() const {
    std::vector<std::string> out;
    for (const auto& c : calls)
      if (c.rfind("sleep ", 0) != 0) out.push_back(c);
    return out;
  }

  int count(const std::string& call) const {
    int n = 0;
    for (const auto& c : calls) n += c == call;
    return n;
  }

 private:
  char managerToken_ = 'm';
  char serviceToken_ = 's';
};
