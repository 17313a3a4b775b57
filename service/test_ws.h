// TestWS: the load test's workers. Each order is posted to the print
// service by a worker thread with an HTTP client of its own, over HTTP/1.0,
// while the window goes on at once.
//
// The workers are a bounded pool rather than one thread per order: a burst
// of ten thousand orders would otherwise ask a 32-bit process for ten
// thousand threads (and their stacks) at once. At most kMostInFlight
// requests run at a time; the order texts are built by the worker that
// sends them, so a burst costs the same memory whatever its size. Every
// order of a burst is still sent exactly once, in order-number order as the
// workers take them.
//
// Workers end as soon as nothing is left to send. The program's pool is
// never destroyed and its threads are detached: closing the window never
// waits for a burst, and orders still unsent when the program ends are
// simply not sent, as a request cut off by the end of the program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace service {

using OrderSender = std::function<void(const std::string& order)>;

class TestWS {
 public:
  static constexpr int kMostInFlight = 32;

  // No sender: postLoadTestOrder to the service's endpoint.
  explicit TestWS(OrderSender send = {}, int mostInFlight = kMostInFlight);
  // Waits for the orders already queued (an instance of a test or a
  // benchmark); the program's own instance is never destroyed.
  ~TestWS();
  TestWS(const TestWS&) = delete;
  TestWS& operator=(const TestWS&) = delete;

  // Queues the orders numbered 1 to quantity (none for zero or less), each
  // built with loadTestOrder from the category ids, and returns at once.
  void sendBurst(std::vector<std::string> categoryIds, int quantity);

  // Blocks until every queued order has been sent and the workers ended.
  void waitIdle();

  uint64_t sent() const;        // orders handed to the sender so far
  int mostWorkersSeen() const;  // the largest number of workers at one time

 private:
  struct State;
  std::shared_ptr<State> state_;
};

// The program's workers, made on first use and kept for the whole run.
TestWS& loadTestWorkers();

}  // namespace service
