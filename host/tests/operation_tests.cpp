// An operation on a thread of its own, with the test's thread as the window:
// what it asks is answered there, in order; a cancel ends its wait at once
// and what it had asked is then never shown.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "host/operation.h"
#include "net/http_client.h"
#include "tests/support/eventually.h"
#include "tests/support/scripted_connector.h"
#include "tests/support/scripted_prompts.h"

namespace {

// The window's queue: work posted from any thread, run by the test's.
class WindowQueue {
 public:
  host::Operation::ToWindow poster() {
    return [this](std::function<void()> work, bool) {
      std::lock_guard<std::mutex> lock(mutex_);
      queued_.push_back(std::move(work));
    };
  }
  bool runOne() {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (queued_.empty()) return false;
      work = std::move(queued_.front());
      queued_.pop_front();
    }
    work();
    return true;
  }

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> queued_;
};

struct OperationTest : testing::Test {
  ScriptedPrompts prompts;
  net_test::ScriptedConnector connector;
  WindowQueue window;
  std::stop_source cancel;
  host::Operation operation{cancel.get_token(), prompts, connector, window.poster()};
};

TEST_F(OperationTest, WhatItAsksIsAnsweredOnTheWindowsThreadInOrder) {
  prompts.confirmAnswers = {true};
  const std::thread::id windowThread = std::this_thread::get_id();
  prompts.onEntry = [&](const std::string&) { EXPECT_EQ(std::this_thread::get_id(), windowThread); };
  std::vector<std::string> seen;
  std::thread worker([&] {
    host::Prompts& p = operation.prompts();
    p.setBusy(true);
    seen.push_back(p.confirm("Confirm", "Atualizar?") ? "sim" : "n\xe3o");
    p.showMessage("Teste Enviado.");
    p.setBusy(false);
  });
  ASSERT_TRUE(eventually([&] {
    while (window.runOne()) {
    }
    return prompts.journal.size() == 4;
  }));
  worker.join();
  EXPECT_EQ(prompts.journal, (std::vector<std::string>{"busy", "confirm Confirm Atualizar?",
                                                       "message Teste Enviado.", "normal"}));
  EXPECT_EQ(seen, std::vector<std::string>{"sim"});
}

TEST_F(OperationTest, ACancelEndsItsWaitsAtOnceAndWhatItHadAskedIsNeverShown) {
  // A question the window has not come to yet.
  std::string ended;
  std::thread asking([&] {
    try {
      operation.prompts().confirm("Confirm", "Atualizar?");
      ended = "answered";
    } catch (const net::Cancelled&) {
      ended = "cancelled";
    }
  });
  // A request the server holds.
  connector.answer("https://nuvem/token", "{}");
  connector.hold(true);
  std::string request;
  std::thread requesting([&] {
    try {
      operation.http().getText("https://nuvem/token");
      request = "answered";
    } catch (const net::Cancelled&) {
      request = "cancelled";
    }
  });
  ASSERT_TRUE(eventually([&] { return connector.waiting() == 1; }));
  cancel.request_stop();
  asking.join();
  requesting.join();
  EXPECT_EQ(ended, "cancelled");
  EXPECT_EQ(request, "cancelled");
  while (window.runOne()) {
  }
  EXPECT_TRUE(prompts.journal.empty());
  EXPECT_THROW(operation.checkCancelled(), net::Cancelled);
}

}  // namespace
