#include "host/worker.h"

#include <system_error>

namespace host {

Worker::Worker(std::function<void(Reply)> deliver, int lanes)
    : deliver_(std::move(deliver)), lanes_(lanes > 0 ? lanes : 1) {}

Worker::~Worker() { stop(); }

void Worker::post(Job job) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (stop_.stop_requested()) return;
  jobs_.push_back(std::move(job));
  if (idle_ >= static_cast<int>(jobs_.size()) || static_cast<int>(threads_.size()) >= lanes_) {
    queued_.notify_one();
    return;
  }
  try {
    threads_.emplace_back([this, stop = stop_.get_token()] { run(stop); });
  } catch (const std::system_error&) {
    // The threads there are take the job in turn; with none it would wait
    // for ever.
    if (!threads_.empty()) return;
    jobs_.pop_back();
    throw;
  }
}

void Worker::stop() {
  std::vector<std::thread> threads;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_.request_stop();
    jobs_.clear();
    threads.swap(threads_);
  }
  queued_.notify_all();
  for (std::thread& thread : threads) thread.join();
}

void Worker::run(std::stop_token stop) {
  for (;;) {
    Job job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ++idle_;
      const bool any = queued_.wait(lock, stop, [this] { return !jobs_.empty(); });
      --idle_;
      if (!any) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    Reply reply;
    try {
      reply = job(stop);
    } catch (...) {
      // A job reports its own failures in its reply; what escapes it (a
      // failed allocation) has no one to go to.
    }
    job = nullptr;
    if (reply && !stop.stop_requested()) deliver_(std::move(reply));
  }
}

}  // namespace host
