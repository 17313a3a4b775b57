// The one way the program reaches the person in front of it: boxes, the
// Yes/No question, the printer setup dialog, the category list's popup,
// modal windows (the credentials window among them) and the hourglass.
// Portable logic asks through it and hands back an Outcome for the rest;
// the window layer implements it with Win32 windows, tests with a twin that
// records every call and answers from a script.
#pragma once

#include <string>
#include <vector>

namespace ui {
class Form;
}

namespace host {

class Prompts {
 public:
  // The application's error box: title caption, error icon, OK.
  virtual void showError(const std::string& message) = 0;
  // An information box: title caption, no icon, OK.
  virtual void showMessage(const std::string& message) = 0;
  // A Yes/No question; true for Yes. Esc answers No.
  virtual bool confirm(const std::string& caption, const std::string& message) = 0;
  // The printer setup dialog; false when cancelled, else the chosen printer.
  virtual bool choosePrinter(std::string* printerName) = 0;
  // A popup menu of the entries at the mouse pointer over `owner`: the
  // index of the chosen entry, -1 when dismissed.
  virtual int popupMenu(ui::Form& owner, const std::vector<std::string>& entries) = 0;
  // Shows a window modally and returns when it has closed.
  virtual void showModal(ui::Form& form) = 0;
  // The delivery platform's credentials window, modal; returns when it has
  // closed.
  virtual void openCredentials() = 0;
  // The hourglass on or off.
  virtual void setBusy(bool busy) = 0;
  virtual bool isBusy() const = 0;

 protected:
  ~Prompts() = default;
};

// The hourglass for as long as an operation runs. A nested operation leaves
// it as the outer one had it; end() gives it back early.
class Busy {
 public:
  explicit Busy(Prompts& prompts) : prompts_(prompts), was_(prompts.isBusy()) {
    prompts_.setBusy(true);
  }
  ~Busy() { end(); }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;
  void end() { prompts_.setBusy(was_); }

 private:
  Prompts& prompts_;
  bool was_;
};

}  // namespace host
