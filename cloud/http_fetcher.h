// What the cloud operations need of an HTTP client: the program's client
// implements it, and tests put a scripted one in its place.
#pragma once

#include <string>

namespace cloud {

class HttpFetcher {
 public:
  virtual ~HttpFetcher() = default;
  // GET; the body decoded by the reply's declared charset into 8-bit text.
  virtual std::string getText(const std::string& url) = 0;
  // GET; the body's raw bytes.
  virtual std::string getStream(const std::string& url) = 0;
  // Closes whatever connection a request left open.
  virtual void disconnect() = 0;
};

}  // namespace cloud
