#include "service/log_refresh.h"

#include <mutex>
#include <thread>

#include "json/value_copy.h"

namespace service {

// What the window's thread and a worker share; a worker keeps it alive
// after the refresher is gone.
struct LogRefresher::Shared {
  std::mutex mutex;
  std::function<void()> wake;  // empty once the refresher is gone
  std::function<std::unique_ptr<net::HttpFetcher>()> makeClient;
  bool running = false;
  uint64_t begun = 0;
  uint64_t shown = 0;
  std::optional<std::pair<uint64_t, LogScreen>> result;

  bool mayShow(uint64_t number) {
    if (number <= shown) return false;
    shown = number;
    return true;
  }
};

LogRefresher::LogRefresher(std::function<void()> wake,
                           std::function<std::unique_ptr<net::HttpFetcher>()> makeClient)
    : shared_(std::make_shared<Shared>()) {
  shared_->wake = std::move(wake);
  shared_->makeClient = std::move(makeClient);
}

LogRefresher::~LogRefresher() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->wake = nullptr;
  shared_->result.reset();
}

uint64_t LogRefresher::begin() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return ++shared_->begun;
}

bool LogRefresher::mayShow(uint64_t number) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->mayShow(number);
}

bool LogRefresher::startInBackground(const std::string& appDir, const platform::LocalDateTime& day,
                                     const json::TJSONArray& printers) {
  std::shared_ptr<Shared> shared = shared_;
  uint64_t number;
  {
    std::lock_guard<std::mutex> lock(shared->mutex);
    if (shared->running) return false;
    number = ++shared->begun;
    shared->running = true;
  }
  // The worker reads its own copies: the window may replace its printer
  // table, or be gone, while the worker runs.
  std::shared_ptr<json::TZAbstractObject> table(json::copyValue(&printers).release(),
                                                json::ValueDeleter());
  auto work = [shared, number, appDir, day, table] {
    std::optional<LogScreen> screen;
    try {
      std::unique_ptr<net::HttpFetcher> http = shared->makeClient();
      screen = readLogScreen(*http, appDir, day, static_cast<const json::TJSONArray&>(*table));
    } catch (...) {
      // Only a failed allocation or thread resource gets here; the next
      // tick tries again.
    }
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->running = false;
    if (!screen || !shared->wake) return;
    shared->result.emplace(number, std::move(*screen));
    shared->wake();
  };
  try {
    std::thread(std::move(work)).detach();
  } catch (...) {
    std::lock_guard<std::mutex> lock(shared->mutex);
    shared->running = false;
    throw;
  }
  return true;
}

bool LogRefresher::running() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->running;
}

std::optional<LogScreen> LogRefresher::takeResult() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  if (!shared_->result) return std::nullopt;
  std::pair<uint64_t, LogScreen> result = std::move(*shared_->result);
  shared_->result.reset();
  if (!shared_->mayShow(result.first)) return std::nullopt;
  return std::move(result.second);
}

}  // namespace service
