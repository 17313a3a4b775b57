// What a view of the main window is built against: the window's controls
// by name, with its handlers bound to them; the program state; the prompts
// in force; the platform services; the window's operations and background
// worker. An action's outcome goes back through apply(), which fills again
// every list it names, whichever view shows it. The main window fills it
// in, and so the views never see the window's class.
#pragma once

#include <functional>

#include "host/app_state.h"
#include "host/outcome.h"
#include "host/prompts.h"
#include "host/operations.h"
#include "host/worker.h"
#include "platform/services.h"
#include "ui/form.h"
#include "ui/prompts.h"

namespace host {

struct ViewHost {
  ui::Form& form;
  AppState& state;
  const platform::Services& services;
  // Whatever can wait (a request, a print, the print service, a file it
  // may hold) runs here: on the worker, the window waiting for it.
  Operations& operations;
  // Where work runs that the window does not wait for.
  Worker& worker;
  // The lists the outcome names filled again from the tables, in the order
  // printer list, category list, product list, product printer choice; then
  // its message.
  std::function<void(const Outcome&)> apply;
  // The log screen shown in place of the login screen.
  std::function<void()> showLogScreen;

  Prompts& prompts() const { return ui::prompts(); }
};

}  // namespace host
