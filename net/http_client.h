// The HTTP client of the program: one object per owner (the main window's
// IdHTTP1, or a load-test worker's own), requests made one at a time on the
// owner's thread. Built on libcurl with OpenSSL linked in.
#pragma once

#include <memory>
#include <string>

#include "net/http_fetcher.h"
#include "platform/error.h"

namespace net {

// ---- errors ------------------------------------------------------------
// Every failed request raises one of these; the class names are the ones
// the program has always reported, so log lines keep their form.

// Every failed request's error box says first, in plain Portuguese, what
// failed, then the network layer's own text on a line below, for support;
// the message alone (log lines, the diagnosis) keeps the network layer's.

// The server answered with a status outside 2xx (a 15th redirect in a row
// included); the message is the reply's status line as the server sent it.
class HttpProtocolError : public quelta::Error {
 public:
  HttpProtocolError(int status, const std::string& statusLine)
      : quelta::Error("EIdHTTPProtocolException", statusLine), status_(status) {}
  int status() const { return status_; }
  std::string boxText() const override {
    return "O servidor respondeu com o erro " + std::to_string(status_) + ".\n" + message();
  }

 private:
  int status_;
};

// The host cannot be resolved or reached, or the connection broke; the
// message is the network layer's text.
class SocketError : public quelta::Error {
 public:
  explicit SocketError(const std::string& message) : quelta::Error("EIdSocketError", message) {}
  std::string boxText() const override {
    return "Sem conex\xe3o com o servidor: a internet n\xe3o est\xe1 dispon\xedvel ou o servidor "
           "recusou a conex\xe3o.\n" +
           message();
  }
};

// "O servidor não respondeu em N s." over a time-out's own text; without a
// known limit, "a tempo".
inline std::string noAnswerWithin(long seconds) {
  return seconds > 0 ? "O servidor n\xe3o respondeu em " + std::to_string(seconds) + " s."
                     : "O servidor n\xe3o respondeu a tempo.";
}

// No connection within the connect time-out (`seconds`, when known).
class ConnectTimeout : public quelta::Error {
 public:
  explicit ConnectTimeout(long seconds = 0)
      : quelta::Error("EIdConnectTimeout", "Connect timed out."), seconds_(seconds) {}
  std::string boxText() const override { return noAnswerWithin(seconds_) + "\n" + message(); }

 private:
  long seconds_;
};

// The connection stayed silent longer than the read time-out, or the whole
// request outlasted its limit (`seconds`, when known).
class ReadTimeout : public quelta::Error {
 public:
  explicit ReadTimeout(long seconds = 0)
      : quelta::Error("EIdReadTimeout", "Read timed out."), seconds_(seconds) {}
  std::string boxText() const override { return noAnswerWithin(seconds_) + "\n" + message(); }

 private:
  long seconds_;
};

// The TLS handshake failed, a server certificate that does not verify
// included; the message is the TLS layer's text.
class TlsError : public quelta::Error {
 public:
  explicit TlsError(const std::string& message) : quelta::Error("EIdOSSLConnectError", message) {}
  std::string boxText() const override {
    return "A conex\xe3o segura com o servidor falhou: o certificado do servidor n\xe3o \xe9 "
           "v\xe1lido ou o rel\xf3gio do computador est\xe1 errado.\n" +
           message();
  }
};

// A URL the client cannot request at all (malformed, unknown scheme).
class RequestError : public quelta::Error {
 public:
  explicit RequestError(const std::string& message) : quelta::Error("EIdException", message) {}
};

// The request's owner asked it to end (the window closing).
class Cancelled : public quelta::Error {
 public:
  Cancelled() : quelta::Error(quelta::kAbortClass, "Operation aborted") {}
};

// ---- the client ----------------------------------------------------------

class HttpClient : public HttpFetcher {
 public:
  // `limits` bound the downloads; a text GET and a post name their own. A
  // request in progress ends, raising Cancelled, once `stop` is requested.
  explicit HttpClient(Timeouts limits = kRemoteTimeouts, std::stop_token stop = {});
  ~HttpClient() override;
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // GET over HTTP/1.1; the body decoded by the charset its Content-Type
  // declares (UTF-8 becomes 8-bit ANSI text; none or any other charset is
  // taken byte for byte).
  using HttpFetcher::getText;
  std::string getText(const std::string& url, const Timeouts& limits) override;
  // GET over HTTP/1.1; the body's raw bytes.
  std::string getStream(const std::string& url, const Timeouts& limits) override;
  using HttpFetcher::getStream;
  // POST of `body` over HTTP/1.0 with the same headers (the load test's
  // order post); the reply body's raw bytes.
  std::string post(const std::string& url, const std::string& body,
                   const Timeouts& limits) override;
  // Closes any connection a request left open. Cookies stay for the run.
  void disconnect() override;
  std::string replyDate() const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The program's connector: every client it opens is an HttpClient.
HttpConnector& systemHttp();

// The body of a reply as the program's 8-bit text, by the charset that
// `contentType` declares.
std::string decodeBody(const std::string& contentType, const std::string& body);

// UTF-8 bytes as the program's 8-bit text (a leading byte-order mark is
// dropped; characters the code page lacks become "?").
std::string utf8ToAnsiText(const std::string& bytes);

}  // namespace net
