// How a window runs what can wait: the view asks, the worker does the
// waiting, the window applies the result. run() puts the operation on the
// window's worker and waits for it the way the window waits under a modal
// box: it keeps painting, moving and answering, drops the person's clicks
// and keys meant for it (Esc cancels), and when the operation lasts more
// than a second shows the progress box with its name and "Cancelar". Then
// run() returns on the window's thread, so what the view does next runs
// there, as it did when the operation ran on the window's thread itself.
//
// Closing the window cancels the operation and waits for it to end.
#pragma once

#include <functional>
#include <string>

#include "host/operation.h"
#include "host/worker.h"
#include "net/http_fetcher.h"
#include "ui/form.h"

namespace host {

// Set on the waiting window while an operation runs, so another program (a
// test driving the window from outside) can tell the window is waiting.
inline constexpr char kWaitingProperty[] = "QueltaAguardando";

class Operations {
 public:
  // Replies and the questions of the operations go to `window`.
  Operations(ui::Form& window, Worker& worker, net::HttpConnector& connector);

  // Runs `job` and returns once it has ended; its error runs out here. A
  // cancelled operation raises net::Cancelled, which the window's error
  // handling shows nowhere. `name` is the progress box's text; an operation
  // without a name shows none.
  void run(const std::string& name, const std::function<void(Operation&)>& job);

  // An operation runs (the window's timer then lets its refresh wait).
  bool running() const { return depth_ > 0; }

 private:
  ui::Form& window_;
  Worker& worker_;
  net::HttpConnector& connector_;
  int depth_ = 0;
};

}  // namespace host
