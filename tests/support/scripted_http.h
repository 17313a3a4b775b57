// An HTTP client that answers from a script and records every call, for
// the tests of the operations built on it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "net/http_fetcher.h"
#include "platform/error.h"

namespace net_test {

class ScriptedHttp : public net::HttpFetcher {
 public:
  // The body for a GET of `url`.
  void answer(const std::string& url, const std::string& body) {
    replies_[url] = [body] { return body; };
  }
  // A GET of `url` raises what `raise` throws.
  void fail(const std::string& url, std::function<void()> raise) {
    replies_[url] = [raise] {
      raise();
      return std::string();
    };
  }

  using net::HttpFetcher::getText;
  std::string getText(const std::string& url, const net::Timeouts&) override {
    return reply("text " + url, url);
  }
  using net::HttpFetcher::getStream;
  std::string getStream(const std::string& url, const net::Timeouts&) override {
    return reply("stream " + url, url);
  }
  std::string post(const std::string& url, const std::string& body, const net::Timeouts&) override {
    return reply("post " + url + " " + body, url);
  }
  void disconnect() override { calls.push_back("disconnect"); }
  std::string replyDate() const override { return date; }

  // The "Date" header every reply carries.
  std::string date;

  // "text <url>", "stream <url>" and "disconnect", in order.
  std::vector<std::string> calls;

 private:
  std::string reply(const std::string& call, const std::string& url) {
    calls.push_back(call);
    auto it = replies_.find(url);
    if (it == replies_.end()) {
      ADD_FAILURE() << "unexpected request " << url;
      throw quelta::Error("EIdSocketError", "unexpected request " + url);
    }
    return it->second();
  }

  std::map<std::string, std::function<std::string()>> replies_;
};

}  // namespace net_test
