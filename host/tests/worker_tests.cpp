#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/worker.h"
#include "tests/support/eventually.h"

namespace {

// What the worker hands back, and a gate its jobs wait at.
struct Bench {
  std::mutex mutex;
  std::condition_variable_any changed;
  std::vector<std::string> delivered, ran;
  bool open = false;
  int running = 0, mostRunning = 0;

  host::Worker::Job job(std::string name) {
    return [this, name](std::stop_token stop) -> host::Worker::Reply {
      std::unique_lock<std::mutex> lock(mutex);
      ran.push_back(name);
      mostRunning = std::max(mostRunning, ++running);
      changed.notify_all();
      const bool opened = changed.wait(lock, stop, [this] { return open; });
      --running;
      if (!opened) ran.push_back(name + " stopped");
      return [this, name] { delivered.push_back(name); };
    };
  }
  void deliver(host::Worker::Reply reply) {
    std::lock_guard<std::mutex> lock(mutex);
    reply();
  }
  bool ranAll(size_t n) {
    std::lock_guard<std::mutex> lock(mutex);
    return ran.size() == n;
  }
};

TEST(Worker, JobsRunSideBySideUpToTheLanesAndTheirRepliesAreDelivered) {
  Bench bench;
  host::Worker worker([&](host::Worker::Reply r) { bench.deliver(std::move(r)); }, 3);
  for (const char* name : {"a", "b", "c", "d", "e"}) worker.post(bench.job(name));
  ASSERT_TRUE(eventually([&] { return bench.ranAll(3); }));
  {
    std::lock_guard<std::mutex> lock(bench.mutex);
    bench.open = true;
  }
  bench.changed.notify_all();
  ASSERT_TRUE(eventually([&] {
    std::lock_guard<std::mutex> lock(bench.mutex);
    return bench.delivered.size() == 5;
  }));
  worker.stop();
  EXPECT_EQ(bench.mostRunning, 3);
  std::sort(bench.delivered.begin(), bench.delivered.end());
  EXPECT_EQ(bench.delivered, std::vector<std::string>({"a", "b", "c", "d", "e"}));
}

TEST(Worker, StoppingEndsAStalledJobDropsItsReplyAndTheJobsNotBegun) {
  Bench bench;
  host::Worker worker([&](host::Worker::Reply r) { bench.deliver(std::move(r)); }, 1);
  worker.post(bench.job("stalled"));
  worker.post(bench.job("queued"));
  ASSERT_TRUE(eventually([&] { return bench.ranAll(1); }));
  // The gate never opens: only the stop can end the job, and stop() returns
  // only once the thread has been joined.
  worker.stop();
  EXPECT_EQ(bench.ran, std::vector<std::string>({"stalled", "stalled stopped"}));
  EXPECT_TRUE(bench.delivered.empty());
  worker.post(bench.job("late"));
  EXPECT_EQ(bench.ran.size(), 2u);
}

}  // namespace
