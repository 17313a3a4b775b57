#include "service/log_refresh.h"

#include <memory>
#include <optional>

#include "json/value_copy.h"

namespace service {

LogRefresher::LogRefresher(host::Worker& worker, net::HttpConnector& http, Show show)
    : worker_(worker), http_(http), show_(std::move(show)) {}

uint64_t LogRefresher::begin() { return ++begun_; }

bool LogRefresher::mayShow(uint64_t number) {
  if (number <= shown_) return false;
  shown_ = number;
  return true;
}

bool LogRefresher::startInBackground(const std::string& appDir, const platform::LocalDateTime& day,
                                     const json::TJSONArray& printers) {
  if (running_) return false;
  // The job reads its own copies: the window may replace its printer table
  // while the job runs.
  std::shared_ptr<json::TZAbstractObject> table(json::copyValue(&printers).release(),
                                                json::ValueDeleter());
  const uint64_t number = begin();
  net::HttpConnector& http = http_;
  worker_.post([this, &http, number, appDir, day, table](std::stop_token stop) {
    std::optional<LogScreen> screen;
    try {
      std::unique_ptr<net::HttpFetcher> client = http.open(stop);
      screen = readLogScreen(*client, appDir, day, static_cast<const json::TJSONArray&>(*table));
    } catch (...) {
      // Only a failed allocation gets here; the next tick tries again.
    }
    return [this, number, screen = std::move(screen)] {
      running_ = false;
      if (screen && mayShow(number)) show_(*screen);
    };
  });
  running_ = true;
  return true;
}

}  // namespace service
