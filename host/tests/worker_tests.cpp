#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/worker.h"
#include "tests/support/eventually.h"

namespace {

TEST(Worker, StoppingEndsAStalledJobDropsItsReplyAndTheJobsNotBegun) {
  std::mutex mutex;
  std::vector<std::string> ran, delivered;
  // A job that waits for a release that never comes: only the stop ends it.
  auto job = [&](std::string name) {
    return [&, name](std::stop_token stop) -> host::Worker::Reply {
      std::unique_lock<std::mutex> lock(mutex);
      ran.push_back(name);
      std::condition_variable_any never;
      if (!never.wait(lock, stop, [] { return false; })) ran.push_back(name + " stopped");
      return [&, name] { delivered.push_back(name); };
    };
  };
  host::Worker worker([&](host::Worker::Reply reply) { reply(); }, 1);
  worker.post(job("stalled"));
  worker.post(job("queued"));
  ASSERT_TRUE(eventually([&] {
    std::lock_guard<std::mutex> lock(mutex);
    return !ran.empty();
  }));
  // stop() returns once the thread has been joined.
  worker.stop();
  EXPECT_EQ(ran, std::vector<std::string>({"stalled", "stalled stopped"}));
  EXPECT_TRUE(delivered.empty());
  // Taken after all, a late job would begin at once on a thread of its own.
  worker.post(job("late"));
  EXPECT_FALSE(eventually(
      [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return ran.size() > 2;
      },
      1));
}

}  // namespace
