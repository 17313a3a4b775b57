#include "service/test_ws.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

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

  OrderSender send;
  int mostInFlight;
  std::mutex mutex;
  std::condition_variable idle;
  std::deque<Burst> bursts;
  int running = 0;
  int mostSeen = 0;
  uint64_t sent = 0;

  static void work(std::shared_ptr<State> self) {
    for (;;) {
      std::shared_ptr<const std::vector<std::string>> ids;
      int64_t n;
      {
        std::lock_guard<std::mutex> lock(self->mutex);
        if (self->bursts.empty()) {
          --self->running;
          self->idle.notify_all();
          return;
        }
        Burst& burst = self->bursts.front();
        ids = burst.ids;
        n = burst.next++;
        if (n >= burst.last) self->bursts.pop_front();
      }
      try {
        self->send(loadTestOrder(static_cast<int>(n), *ids));
      } catch (...) {
        // As postLoadTestOrder: the outcome of an order is nobody's business.
      }
      std::lock_guard<std::mutex> lock(self->mutex);
      ++self->sent;
    }
  }
};

TestWS::TestWS(OrderSender send, int mostInFlight) : state_(std::make_shared<State>()) {
  if (send)
    state_->send = std::move(send);
  else
    state_->send = [](const std::string& order) { postLoadTestOrder(order); };
  state_->mostInFlight = mostInFlight > 0 ? mostInFlight : 1;
}

TestWS::~TestWS() { waitIdle(); }

void TestWS::sendBurst(std::vector<std::string> categoryIds, int quantity) {
  if (quantity <= 0) return;
  auto ids = std::make_shared<const std::vector<std::string>>(std::move(categoryIds));
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->bursts.push_back({ids, 1, quantity});
  uint64_t pending = 0;
  for (const State::Burst& b : state_->bursts)
    pending += static_cast<uint64_t>(b.last - b.next + 1);
  while (state_->running < state_->mostInFlight &&
         static_cast<uint64_t>(state_->running) < pending) {
    try {
      std::thread(State::work, state_).detach();
    } catch (const std::system_error& e) {
      // The threads already running take the orders in turn; with none at
      // all the burst could never go out, so it is refused whole.
      if (state_->running > 0) break;
      state_->bursts.clear();
      throw quelta::Error("EThread", std::string("Thread creation error: ") + e.what());
    }
    ++state_->running;
    if (state_->running > state_->mostSeen) state_->mostSeen = state_->running;
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

TestWS& loadTestWorkers() {
  // Deliberately never destroyed: detached workers may still be sending
  // when the program ends, and must not find their pool gone.
  static TestWS* workers = new TestWS();
  return *workers;
}

}  // namespace service
