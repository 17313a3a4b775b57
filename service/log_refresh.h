// The timer's refresh of the log screen, run on the window's worker: the
// status query can wait seconds on a print service that accepts and never
// answers, and the window must go on answering meanwhile. The result comes
// back inside the worker's reply and is shown on the window's thread.
//
// One background refresh at a time; a timer tick while one runs starts no
// second. Refreshes done on the window's thread (start-up, "Atualizar")
// may overlap a background one: every refresh is numbered when it begins,
// and a result is shown only when no later-begun refresh has been shown
// already, so the screen never goes back to older news. Used on the
// window's thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "host/worker.h"
#include "json/json.h"
#include "net/http_fetcher.h"
#include "platform/clock.h"
#include "service/log_viewer.h"

namespace service {

class LogRefresher {
 public:
  using Show = std::function<void(const LogScreen&)>;
  // `show` puts a background refresh's result on the screen.
  LogRefresher(host::Worker& worker, net::HttpConnector& http, Show show);
  LogRefresher(const LogRefresher&) = delete;
  LogRefresher& operator=(const LogRefresher&) = delete;

  // Numbers a refresh done on the caller's thread; show its result only
  // if mayShow(number) then says so.
  uint64_t begin();
  // True, once, unless a refresh begun later has been shown already.
  bool mayShow(uint64_t number);

  // Queues a refresh on the worker with copies of the application
  // directory and the printer table; false, queuing nothing, while the
  // last one still runs.
  bool startInBackground(const std::string& appDir, const platform::LocalDateTime& day,
                         const json::TJSONArray& printers);
  bool running() const { return running_; }

 private:
  host::Worker& worker_;
  net::HttpConnector& http_;
  Show show_;
  bool running_ = false;
  uint64_t begun_ = 0;
  uint64_t shown_ = 0;
};

}  // namespace service
