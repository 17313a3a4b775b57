// What an operation that can wait has while it runs on the window's worker:
// a network request, a print, the print service's stop, a file the print
// service may hold. The window meanwhile waits for it as it waits under a
// modal box: it paints and answers, takes no other input, and after a
// second shows a progress box with "Cancelar" (host/operations.h).
//
// The operation reads as it always did, one step after the other: what it
// asks the person midway (a box, the question, the credentials window) is
// carried to the window's thread and waited for there; its requests end at
// once when it is cancelled, raising net::Cancelled, which ends the
// operation without a word (as Windows programs' silent "EAbort" does).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>

#include "host/prompts.h"
#include "net/http_fetcher.h"

namespace host {

class Operation {
 public:
  // Runs a piece of work on the window's thread; the work may be dropped
  // unrun when the window has gone. `asks`: it shows the person something
  // (a box, the question), and what covers the window steps aside.
  using ToWindow = std::function<void(std::function<void()> work, bool asks)>;

  // `prompts` are the window's own, called on the window's thread only.
  Operation(std::stop_token stop, Prompts& prompts, net::HttpConnector& connector,
            ToWindow toWindow, std::string name = "");
  ~Operation();
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

  std::stop_token stopToken() const { return stop_; }
  bool cancelled() const { return stop_.stop_requested(); }
  // Raises net::Cancelled once cancelled: for the steps between requests.
  void checkCancelled() const;

  // The prompts: each call carried to the window's thread and waited for.
  Prompts& prompts();
  // The operation's own HTTP client, opened on first use: its request ends
  // at once when the operation is cancelled.
  net::HttpFetcher& http();

  // What the progress box names, when the operation moves to a step of
  // another name ("Baixando a atualiza\xe7\xe3o\x85" after the check).
  void setName(const std::string& name);
  std::string name() const;

  // How far a download is: `done` bytes of `total`. The progress box shows
  // it; without it the box's bar keeps moving.
  void progress(int64_t done, int64_t total);
  struct Progress {
    int64_t done = 0, total = -1;  // total < 0: not known
  };
  Progress currentProgress() const;

  // Runs `work` on the window's thread and waits for it to end; raises
  // net::Cancelled when the operation is cancelled first. The work gets its
  // values by copy: a cancelled operation does not wait for it.
  void onWindow(std::function<void()> work);

 private:
  class CarriedPrompts;

  std::stop_token stop_;
  net::HttpConnector& connector_;
  ToWindow toWindow_;
  std::unique_ptr<CarriedPrompts> prompts_;
  std::unique_ptr<net::HttpFetcher> http_;
  std::atomic<int64_t> done_{0}, total_{-1};
  mutable std::mutex nameMutex_;
  std::string name_;
};

}  // namespace host
