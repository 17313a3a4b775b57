// The sandbox cloud: the ordering platform's API (a production and a
// staging endpoint) and the download server, served over HTTPS (and plain
// HTTP for the update archive) on 127.0.0.1, with failures that tests
// switch on and off.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace sandbox {

struct Options {
  std::string host = "127.0.0.1";
  // 0 takes any free port (tests); the tool's default build expects these.
  int productionPort = 8443;
  int stagingPort = 8444;
  int downloadPort = 8445;      // HTTPS: the version manifest
  int downloadHttpPort = 8446;  // plain HTTP: the update archive
  std::string certFile;         // PEM certificate and key of 127.0.0.1
  std::string keyFile;
  // "version.json", "version.json.sig" and "impressao.zip" are served from
  // here when present.
  std::string filesDir;
  // The sandbox publisher's private key (PEM), which signs the manifest
  // served when filesDir has none; unsigned when empty or unreadable.
  std::string publisherKeyFile;
  // Failures in effect from the start, each in the form of a control query
  // ("kind=status&status=401&path=/token").
  std::vector<std::string> failures;
};

// A scripted failure (see README.md for the kinds).
struct Failure {
  std::string kind;
  std::string path;  // applies to request paths starting with it; empty: all
  int times = -1;    // how many requests it hits; -1 until reset
  int count = 15;    // redirects in a chain; a trickle's bytes per 100 ms
  int status = 401;
  std::string message;  // UTF-8
};

// Parses a control query into a failure; false with `error` set when it
// names no known kind or a bad number.
bool parseFailure(const std::string& query, Failure& failure, std::string& error);

class SandboxCloud {
 public:
  explicit SandboxCloud(Options options);
  ~SandboxCloud();
  SandboxCloud(const SandboxCloud&) = delete;
  SandboxCloud& operator=(const SandboxCloud&) = delete;

  // Binds every port and starts answering; throws std::runtime_error when a
  // port or the certificate cannot be used.
  void start();
  void stop();

  int productionPort() const { return ports_[0]; }
  int stagingPort() const { return ports_[1]; }
  int downloadPort() const { return ports_[2]; }
  int downloadHttpPort() const { return ports_[3]; }
  std::string productionUrl() const;
  std::string stagingUrl() const;
  std::string downloadUrl() const;
  std::string downloadHttpUrl() const;

  void addFailure(const Failure& failure);
  void reset();  // no failures, empty request log, hung requests released, true clock
  // Every reply's "Date" header runs this many seconds ahead of the
  // computer's clock (behind when negative).
  void setClockOffset(int seconds);
  // One line per request received: "<endpoint> <method> <target>".
  std::vector<std::string> requests() const;

 private:
  enum class Role { kProduction, kStaging, kDownload, kDownloadHttp };
  struct Listener;

  void route(httplib::Server& server, Role role);
  void handle(Role role, const httplib::Request& req, httplib::Response& res);
  bool control(const httplib::Request& req, httplib::Response& res);
  // True when the failure is the whole reply; a trickle names its pace.
  bool applyFailure(const httplib::Request& req, httplib::Response& res, int& trickle);
  void trickleBody(httplib::Response& res, int bytes);
  void answerApi(Role role, const httplib::Request& req, httplib::Response& res);
  void answerDownload(const httplib::Request& req, httplib::Response& res);
  std::string url(const char* scheme, int port) const;

  Options options_;
  // The manifest offering the tool's own version, and its signature.
  std::string ownManifest_;
  std::string ownSignature_;
  int ports_[4] = {0, 0, 0, 0};
  std::vector<std::unique_ptr<Listener>> listeners_;

  mutable std::mutex mutex_;
  std::condition_variable released_;
  int generation_ = 0;  // raised by reset() and stop(): hung requests end
  bool stopping_ = false;
  std::vector<Failure> failures_;
  int clockOffset_ = 0;
  std::vector<std::string> requests_;
};

}  // namespace sandbox
