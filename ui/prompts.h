// Everything that waits for the user goes through one interface: message
// boxes, the update question, the printer setup dialog, popup menus and
// modal windows.
// The program uses the Win32 implementation; tests install a scripted one
// that records what was shown and answers from a script, so no test blocks.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

class Prompts {
 public:
  virtual ~Prompts() = default;
  // The application's error box: title caption, error icon, OK.
  virtual void showError(const std::string& message) = 0;
  // An information box: title caption, no icon, OK.
  virtual void showMessage(const std::string& message) = 0;
  // A Yes/No question; true for Yes. Esc answers No.
  virtual bool confirm(const std::string& caption, const std::string& message) = 0;
  // The printer setup dialog; false when cancelled, else the chosen printer.
  virtual bool choosePrinter(std::string* printerName) = 0;
  // Shows a window modally and returns when it has closed.
  virtual void showModal(Form& form) = 0;
  // A popup menu of the entries at the mouse pointer over `owner`: the
  // index of the chosen entry, -1 when dismissed.
  virtual int popupMenu(Form& owner, const std::vector<std::string>& entries) = 0;
};

// The prompts in force (the Win32 ones unless a test installed others).
Prompts& prompts();
void setPrompts(Prompts* prompts);  // nullptr restores the Win32 ones

// The application title: the task bar text and every box's caption.
const std::string& applicationTitle();
void setApplicationTitle(const std::string& title);

// The error box text: a full stop is appended when the message's last
// character sorts after the full stop.
std::string errorBoxText(const std::string& message);

}  // namespace ui
