// The timer's refresh of the log screen, run off the window's thread: the
// status query can wait seconds on a print service that accepts and never
// answers, and the window must go on answering meanwhile. The result is
// handed back to the window's thread, which shows it.
//
// One background refresh at a time; a timer tick while one runs starts no
// second. Refreshes done on the window's thread (start-up, "Atualizar")
// may overlap a background one: every refresh is numbered when it begins,
// and a result is shown only when no later-begun refresh has been shown
// already, so the screen never goes back to older news.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "json/json.h"
#include "net/http_fetcher.h"
#include "platform/clock.h"
#include "service/log_viewer.h"

namespace service {

class LogRefresher {
 public:
  // `wake` is called on the worker's thread once its result waits; the
  // window posts itself a message there, and then calls takeResult.
  // `makeClient` gives each worker an HTTP client of its own.
  LogRefresher(std::function<void()> wake,
               std::function<std::unique_ptr<net::HttpFetcher>()> makeClient);
  // Does not wait for a worker still running: its result is dropped.
  ~LogRefresher();
  LogRefresher(const LogRefresher&) = delete;
  LogRefresher& operator=(const LogRefresher&) = delete;

  // Numbers a refresh done on the caller's thread; show its result only
  // if mayShow(number) then says so.
  uint64_t begin();
  // True, once, unless a refresh begun later has been shown already.
  bool mayShow(uint64_t number);

  // Starts a refresh on a worker thread with copies of the application
  // directory and the printer table; false, starting nothing, while the
  // last one still runs.
  bool startInBackground(const std::string& appDir, const platform::LocalDateTime& day,
                         const json::TJSONArray& printers);
  bool running() const;

  // The background refresh's result when it has come in and may be shown.
  std::optional<LogScreen> takeResult();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace service
