// The one way the portable logic (routing, cloud, update) reaches the window
// it runs under. The main window implements it; tests record it.
#pragma once

#include <string>

#include "host/outcome.h"

namespace host {

class WindowPort {
 public:
  // An information box with the text and an OK button.
  virtual void showMessage(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool confirm(const std::string& caption, const std::string& text) = 0;
  // The hourglass on or off.
  virtual void setBusy(bool busy) = 0;
  // The lists named by a mask of Refill values filled again from the tables,
  // in the order printer list, category list, product list, product printer
  // choice.
  virtual void refill(unsigned lists) = 0;
  // The delivery-platform credentials window, shown modally; returns when it
  // has been closed.
  virtual void openCredentials() = 0;
  // The log screen shown in place of the login screen.
  virtual void showLogScreen() = 0;

  // An action's outcome: the lists it names refilled, then its message.
  void apply(const Outcome& outcome) {
    refill(outcome.refill);
    if (!outcome.message.empty()) showMessage(outcome.message);
  }

 protected:
  ~WindowPort() = default;
};

}  // namespace host
