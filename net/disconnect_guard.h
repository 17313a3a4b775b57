// Every cloud operation ends with the HTTP client disconnected, whether it
// succeeded or failed, so no connection stays open between user actions.
#pragma once

#include "net/http_fetcher.h"

namespace net {

class DisconnectGuard {
 public:
  explicit DisconnectGuard(HttpFetcher& http) : http_(http) {}
  ~DisconnectGuard() {
    try {
      http_.disconnect();
    } catch (...) {
      // Closing can only fail on a connection that is gone already.
    }
  }
  DisconnectGuard(const DisconnectGuard&) = delete;
  DisconnectGuard& operator=(const DisconnectGuard&) = delete;

 private:
  HttpFetcher& http_;
};

}  // namespace net
