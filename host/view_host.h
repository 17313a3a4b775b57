// What a view of the main window is built against: the window's controls
// by name, with its handlers bound to them; the program state; the prompts;
// the platform services; the window's HTTP client; the window's background
// worker. An action's outcome goes back through apply(), which fills again
// every list it names, whichever view shows it. The main window implements
// it, and so the views never see the window's class.
#pragma once

#include "host/app_state.h"
#include "host/outcome.h"
#include "host/prompts.h"
#include "host/worker.h"
#include "net/http_fetcher.h"
#include "platform/services.h"
#include "ui/form.h"

namespace host {

class ViewHost {
 public:
  virtual ui::Form& form() = 0;
  virtual AppState& state() = 0;
  virtual Prompts& prompts() = 0;
  virtual const platform::Services& services() const = 0;
  // IdHTTP1, the window's HTTP client, for requests on the window's thread.
  virtual net::HttpFetcher& http() = 0;
  // Where requests that must not hold the window run.
  virtual Worker& worker() = 0;
  // The lists the outcome names filled again from the tables, in the order
  // printer list, category list, product list, product printer choice; then
  // its message.
  virtual void apply(const Outcome& outcome) = 0;
  // The log screen shown in place of the login screen.
  virtual void showLogScreen() = 0;

 protected:
  ~ViewHost() = default;
};

}  // namespace host
