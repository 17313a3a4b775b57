// What the cloud operations need of an HTTP client: the program's client
// implements it, and tests put a scripted one in its place.
#pragma once

#include <string>

namespace net {

// Bounds on waiting. A request gives up when the connection (TLS handshake
// included) is not made within connectMs, or when no byte arrives for
// stallSeconds; a slow but steady download is never cut.
struct Timeouts {
  long connectMs;
  long stallSeconds;
};

// The cloud and the download server may be far away.
inline constexpr Timeouts kRemoteTimeouts{15000, 30};

class HttpFetcher {
 public:
  virtual ~HttpFetcher() = default;
  // GET; the body decoded by the reply's declared charset into 8-bit text,
  // waiting as `limits` allow.
  virtual std::string getText(const std::string& url, const Timeouts& limits) = 0;
  // The same with the fetcher's own limits.
  std::string getText(const std::string& url) { return getText(url, limits_); }
  // GET; the body's raw bytes.
  virtual std::string getStream(const std::string& url) = 0;
  // Closes whatever connection a request left open.
  virtual void disconnect() = 0;

 protected:
  explicit HttpFetcher(Timeouts limits = kRemoteTimeouts) : limits_(limits) {}
  // The limits of every request that names none.
  Timeouts limits_;
};

}  // namespace net
