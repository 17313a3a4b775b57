// The print service as the log screen and test box tests meet it: a server
// of the test's own on the service's port 127.0.0.1:7777 that records every
// request and answers from a script, and helpers for running the print
// service stand-in under the real service control manager.
#pragma once

// winsock2.h (pulled in by httplib) must come before windows.h.
// clang-format off
#include <httplib.h>
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "tests/support/wine_host.h"
#include "ui/form.h"

namespace endpoint_test {

using wine_host::readOr;
using wine_host::runAndWait;
using wine_host::windowsPath;

struct Request {
  std::string method;
  std::string target;  // path and query as sent
  std::string version;
  std::string accept, userAgent, contentType, contentEncoding;
  std::string body;
};

class FakeService {
 public:
  // What GET "?status" and GET "?teste=N" answer; an empty reply is a 500.
  std::string statusReply = "{\"success\":true}";
  std::string testReply = "{\"success\":true}";

  FakeService() {
    auto record = [this](const httplib::Request& r) {
      std::string target = r.target;
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back({r.method, target, r.version, r.get_header_value("Accept"),
                           r.get_header_value("User-Agent"), r.get_header_value("Content-Type"),
                           r.get_header_value("Content-Encoding"), r.body});
    };
    server_.Get("/", [this, record](const httplib::Request& r, httplib::Response& response) {
      record(r);
      std::string reply;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool status = r.has_param("status");
        reply = status ? statusReply : testReply;
        // A slow printer, or a service that accepts and does not answer.
        released_.wait_for(lock, status ? statusDelay_ : testDelay_, [&] { return stopping_; });
      }
      if (reply.empty()) response.status = 500;
      response.set_content(reply, "application/json");
    });
    server_.Post("/", [record](const httplib::Request& r, httplib::Response& response) {
      record(r);
      response.set_content("{\"success\":true}", "application/json");
    });
    if (!server_.bind_to_port("127.0.0.1", 7777)) {
      ADD_FAILURE() << "port 7777 is taken: another print service is running";
      return;
    }
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }

  // False when another program holds the port; a test stops there.
  bool listening() const { return thread_.joinable(); }

  ~FakeService() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    released_.notify_all();
    if (!thread_.joinable()) return;
    // listen_after_bind may not have begun yet; a stop before it would be lost.
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server_.stop();
    thread_.join();
  }

  void answer(const std::string& status, const std::string& test) {
    std::lock_guard<std::mutex> lock(mutex_);
    statusReply = status;
    testReply = test;
  }

  // Holds the replies to "?status" and "?teste=" back this long, or until
  // the service is destroyed; a reply is the one set when its request came.
  void delay(std::chrono::milliseconds status, std::chrono::milliseconds test) {
    std::lock_guard<std::mutex> lock(mutex_);
    statusDelay_ = status;
    testDelay_ = test;
  }

  std::vector<Request> requests(const std::string& method = "") const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Request> out;
    for (const Request& r : requests_)
      if (method.empty() || r.method == method) out.push_back(r);
    return out;
  }
  std::vector<std::string> targets(const std::string& method) const {
    std::vector<std::string> out;
    for (const Request& r : requests(method)) out.push_back(r.target);
    return out;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
  }

 private:
  httplib::Server server_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool stopping_ = false;
  std::chrono::milliseconds statusDelay_{0}, testDelay_{0};
  std::vector<Request> requests_;
};

}  // namespace endpoint_test
