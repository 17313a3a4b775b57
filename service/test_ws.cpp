#include "service/test_ws.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>

#include "platform/error.h"
#include "service/load_test.h"
#include "service/service_endpoint.h"

namespace service {

struct TestWS::State {
  struct Burst {
    std::shared_ptr<const std::vector<std::string>> ids;
    int64_t next;  // wide: a burst of the largest quantity must not overflow
    int64_t last;
  };

  std::function<void(const std::string&, std::stop_token)> send;
  int mostInFlight;
  std::mutex mutex;
  std::condition_variable idle;
  std::deque<Burst> bursts;
  int running = 0;
  int mostSeen = 0;
  uint64_t sent = 0;

  // A lane counts as running from its queuing until it finds nothing left
  // to send, or until its job is gone unfinished: cut off or dropped by a
  // stopping worker, which leaves the rest unsent.
  struct Lane {
    std::shared_ptr<State> state;
    bool done = false;
    ~Lane() {
      if (done) return;
      std::lock_guard<std::mutex> lock(state->mutex);
      if (--state->running == 0) state->bursts.clear();
      state->idle.notify_all();
    }
  };

  static void work(Lane& lane, std::stop_token stop) {
    State& self = *lane.state;
    while (!stop.stop_requested()) {
      std::shared_ptr<const std::vector<std::string>> ids;
      int64_t n;
      {
        std::lock_guard<std::mutex> lock(self.mutex);
        if (self.bursts.empty()) {
          // In the same lock as the look: a burst queued now sees this lane
          // gone and starts another.
          --self.running;
          lane.done = true;
          self.idle.notify_all();
          return;
        }
        Burst& burst = self.bursts.front();
        ids = burst.ids;
        n = burst.next++;
        if (n >= burst.last) self.bursts.pop_front();
      }
      try {
        self.send(loadTestOrder(static_cast<int>(n), *ids), stop);
      } catch (...) {
        // As postLoadTestOrder: the outcome of an order is nobody's business.
      }
      std::lock_guard<std::mutex> lock(self.mutex);
      ++self.sent;
    }
  }
};

TestWS::TestWS(host::Worker& worker, net::HttpConnector& http)
    : state_(std::make_shared<State>()), worker_(&worker) {
  state_->send = [&http](const std::string& order, std::stop_token stop) {
    postLoadTestOrder(order, kServiceEndpoint, http, std::move(stop));
  };
  state_->mostInFlight = kMostInFlight;
}

TestWS::TestWS(OrderSender send, int mostInFlight) : state_(std::make_shared<State>()) {
  state_->send = [send = std::move(send)](const std::string& order, std::stop_token) {
    send(order);
  };
  state_->mostInFlight = mostInFlight > 0 ? mostInFlight : 1;
  ownWorker_ = std::make_unique<host::Worker>([](host::Worker::Reply) {}, state_->mostInFlight);
  worker_ = ownWorker_.get();
}

TestWS::~TestWS() { waitIdle(); }

void TestWS::sendBurst(std::vector<std::string> categoryIds, int quantity) {
  if (quantity <= 0) return;
  auto ids = std::make_shared<const std::vector<std::string>>(std::move(categoryIds));
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->bursts.push_back({ids, 1, quantity});
  uint64_t pending = 0;
  for (const State::Burst& b : state_->bursts)
    pending += static_cast<uint64_t>(b.last - b.next + 1);
  while (state_->running < state_->mostInFlight &&
         static_cast<uint64_t>(state_->running) < pending) {
    ++state_->running;
    if (state_->running > state_->mostSeen) state_->mostSeen = state_->running;
    std::shared_ptr<State::Lane> lane(new State::Lane{state_, false});
    lock.unlock();
    try {
      worker_->post([lane](std::stop_token stop) {
        State::work(*lane, std::move(stop));
        return host::Worker::Reply();
      });
    } catch (const std::system_error& e) {
      lane.reset();
      lock.lock();
      // The lanes already running take the orders in turn; with none at all
      // the burst could never go out, so it is refused whole.
      if (state_->running > 0) break;
      state_->bursts.clear();
      throw quelta::Error("EThread", std::string("Thread creation error: ") + e.what());
    }
    lane.reset();
    lock.lock();
  }
}

void TestWS::waitIdle() {
  std::unique_lock<std::mutex> lock(state_->mutex);
  state_->idle.wait(lock, [this] { return state_->running == 0 && state_->bursts.empty(); });
}

uint64_t TestWS::sent() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->sent;
}

int TestWS::mostWorkersSeen() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->mostSeen;
}

}  // namespace service
