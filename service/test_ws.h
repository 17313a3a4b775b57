// TestWS: the load test's workers. Each order is posted to the print
// service by a lane of the window's worker with an HTTP client of its own,
// over HTTP/1.0, while the window goes on at once.
//
// The lanes are bounded rather than one thread per order: a burst of ten
// thousand orders would otherwise ask a 32-bit process for ten thousand
// threads (and their stacks) at once. At most kMostInFlight requests run at
// a time; the order texts are built by the lane that sends them, so a burst
// costs the same memory whatever its size. Every order of a burst is sent
// exactly once, in order-number order as the lanes take them.
//
// A lane ends as soon as nothing is left to send. Closing the window stops
// its worker: the orders in flight are cut off and those not yet sent are
// not sent, as a request cut off by the end of the program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

#include "host/worker.h"
#include "net/http_fetcher.h"

namespace service {

using OrderSender = std::function<void(const std::string& order)>;

class TestWS {
 public:
  static constexpr int kMostInFlight = 32;

  // The window's: lanes of `worker`, each order posted with a client of
  // `http` (postLoadTestOrder). The worker needs kMostInFlight lanes and
  // one more for its other jobs.
  TestWS(host::Worker& worker, net::HttpConnector& http);
  // On a worker of its own with `mostInFlight` lanes, each order handed to
  // `send`.
  explicit TestWS(OrderSender send, int mostInFlight = kMostInFlight);
  // Waits for the orders already queued (none are left once the worker
  // stopped).
  ~TestWS();
  TestWS(const TestWS&) = delete;
  TestWS& operator=(const TestWS&) = delete;

  // Queues the orders numbered 1 to quantity (none for zero or less), each
  // built with loadTestOrder from the category ids, and returns at once.
  void sendBurst(std::vector<std::string> categoryIds, int quantity);

  // Blocks until every queued order has been sent and the lanes ended.
  void waitIdle();

  uint64_t sent() const;        // orders handed to the sender so far
  int mostWorkersSeen() const;  // the largest number of lanes at one time

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::unique_ptr<host::Worker> ownWorker_;
  host::Worker* worker_;
};

}  // namespace service
