// The main window's one background worker: whatever waits on the network or
// on the print service runs here, never on the window's thread. A job gets
// the worker's stop token and returns what the window is to do with its
// result; that reply travels to the window inside the message `deliver`
// posts, so a job and the window share no state.
//
// Every thread belongs to the worker. Stopping it (the window closing) asks
// each running job to end, drops the jobs not yet begun and the replies not
// yet delivered, and joins the threads, so none outlives the program's
// entry point.
//
// Jobs begin in the order queued, on up to `lanes` threads at a time: a
// thread is started when a job finds every thread busy, and stays until the
// worker stops.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace host {

class Worker {
 public:
  using Reply = std::function<void()>;
  using Job = std::function<Reply(std::stop_token)>;

  // `deliver` is called on the worker's threads with each job's reply that
  // is not empty.
  Worker(std::function<void(Reply)> deliver, int lanes);
  ~Worker();  // stop()
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Queues a job. Raises std::system_error when no thread exists and none
  // can be started; the job is not queued then. Ignored once stopped.
  void post(Job job);

  // Cancels and joins, as described above; once is enough.
  void stop();

 private:
  void run(std::stop_token stop);

  std::function<void(Reply)> deliver_;
  const int lanes_;
  std::stop_source stop_;
  std::mutex mutex_;
  std::condition_variable_any queued_;
  std::deque<Job> jobs_;
  int idle_ = 0;
  std::vector<std::thread> threads_;
};

}  // namespace host
