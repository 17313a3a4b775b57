// The platform's HTTP connector as a twin, for tests whose requests run on
// the window's worker.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "net/http_client.h"
#include "net/http_fetcher.h"
#include "platform/error.h"

namespace net_test {

// The platform's HTTP connector as a twin: the clients it opens answer from
// one script and keep one record, from any thread; a URL not in the script
// raises a socket error. While holding, a request waits until release() (answered with the reply
// set when it began) or until its client's stop is requested: then it
// raises net::Cancelled and is recorded as "cancelled <url>".
class ScriptedConnector : public net::HttpConnector {
 public:
  void answer(const std::string& url, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    replies_[url] = body;
  }
  // While holding, a request that names its limits gives up after their
  // total time as the program's client does: recorded as "timed out <url>",
  // raising net::ReadTimeout.
  void keepTimeLimits(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    timeLimits_ = on;
  }
  // The "Date" header of every reply from now on; empty: none.
  void date(const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    date_ = value;
  }
  void hold(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    holding_ = on;
  }
  void release() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++releases_;
    changed_.notify_all();
  }
  int waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_;
  }
  // "text <url>", "post <url> <body>", "cancelled <url>", in order.
  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
  }

  std::unique_ptr<net::HttpFetcher> open(std::stop_token stop) override {
    return std::make_unique<Client>(*this, std::move(stop));
  }

 private:
  class Client : public net::HttpFetcher {
   public:
    Client(ScriptedConnector& script, std::stop_token stop) : script_(script), stop_(stop) {}
    using net::HttpFetcher::getText;
    std::string getText(const std::string& url, const net::Timeouts& limits) override {
      return script_.reply("text " + url, url, stop_, &limits);
    }
    using net::HttpFetcher::getStream;
    std::string getStream(const std::string& url, const net::Timeouts& limits) override {
      return script_.reply("stream " + url, url, stop_, &limits);
    }
    std::string post(const std::string& url, const std::string& body,
                     const net::Timeouts& limits) override {
      return script_.reply("post " + url + " " + body, url, stop_, &limits);
    }
    void disconnect() override {}
    std::string replyDate() const override {
      std::lock_guard<std::mutex> lock(script_.mutex_);
      return script_.date_;
    }

   private:
    ScriptedConnector& script_;
    std::stop_token stop_;
  };

  std::string reply(const std::string& call, const std::string& url, std::stop_token stop,
                    const net::Timeouts* limits = nullptr) {
    std::unique_lock<std::mutex> lock(mutex_);
    calls_.push_back(call);
    auto it = replies_.find(url);
    if (it == replies_.end()) throw quelta::Error("EIdSocketError", "unexpected request " + url);
    const std::string body = it->second;
    if (holding_) {
      const int releases = releases_;
      ++waiting_;
      // Bounded only so that a fault ends the test instead of hanging it.
      const bool limited = timeLimits_ && limits;
      const auto bound = limited ? std::chrono::milliseconds(limits->totalMs)
                                 : std::chrono::milliseconds(std::chrono::minutes(2));
      const bool released =
          changed_.wait_for(lock, stop, bound, [&] { return releases_ != releases; });
      --waiting_;
      if (!released && limited && !stop.stop_requested()) {
        calls_.push_back("timed out " + url);
        throw net::ReadTimeout();
      }
      if (!released) {
        calls_.push_back((stop.stop_requested() ? "cancelled " : "never released ") + url);
        throw net::Cancelled();
      }
    }
    return body;
  }

  mutable std::mutex mutex_;
  std::condition_variable_any changed_;
  std::map<std::string, std::string> replies_;
  std::string date_;
  std::vector<std::string> calls_;
  bool holding_ = false;
  bool timeLimits_ = false;
  int releases_ = 0, waiting_ = 0;
};

}  // namespace net_test
