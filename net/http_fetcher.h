// What the cloud operations need of an HTTP client: the program's client
// implements it, and tests put a scripted one in its place.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>

namespace net {

// Bounds on waiting. A request gives up when the connection (TLS handshake
// included) is not made within connectMs, when no byte arrives for
// stallSeconds, or when the whole request has taken totalMs: a server that
// trickles a byte now and then must not hold anyone forever.
struct Timeouts {
  long connectMs;
  long stallSeconds;
  long totalMs = 600000;
};

// The cloud and the download server may be far away; ten minutes leave a
// slow but steady download of the update its time.
inline constexpr Timeouts kRemoteTimeouts{15000, 30, 600000};

class HttpFetcher {
 public:
  virtual ~HttpFetcher() = default;
  // GET; the body decoded by the reply's declared charset into 8-bit text,
  // waiting as `limits` allow.
  virtual std::string getText(const std::string& url, const Timeouts& limits) = 0;
  // The same with the fetcher's own limits.
  std::string getText(const std::string& url) { return getText(url, limits_); }
  // GET; the body's raw bytes, waiting as `limits` allow.
  virtual std::string getStream(const std::string& url, const Timeouts& limits) = 0;
  // The same with the fetcher's own limits.
  std::string getStream(const std::string& url) { return getStream(url, limits_); }
  // POST of `body` over HTTP/1.0 (the load test's order post); the reply
  // body's raw bytes.
  virtual std::string post(const std::string& url, const std::string& body,
                           const Timeouts& limits) = 0;
  // Closes whatever connection a request left open.
  virtual void disconnect() = 0;
  // The "Date" header of the last reply received (an error reply's too);
  // empty when it had none.
  virtual std::string replyDate() const = 0;
  // Told the bytes of the body received so far, as they arrive (the
  // update's download shows them); an empty function stops it.
  virtual void watchBody(std::function<void(int64_t received)> watcher) {
    watcher_ = std::move(watcher);
  }

 protected:
  explicit HttpFetcher(Timeouts limits = kRemoteTimeouts) : limits_(limits) {}
  // The limits of every request that names none.
  Timeouts limits_;
  std::function<void(int64_t)> watcher_;
};

// Where HTTP clients come from: the program's own, or a scripted twin in
// tests (one of the platform services).
class HttpConnector {
 public:
  virtual ~HttpConnector() = default;
  // A client for one owner. Once `stop` is requested its request ends at
  // once, raising Cancelled: closing the window must not wait on a server.
  virtual std::unique_ptr<HttpFetcher> open(std::stop_token stop = {}) = 0;
};

}  // namespace net
