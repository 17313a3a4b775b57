// The program's prompts as Win32 windows: message boxes, the Yes/No
// question, the printer setup dialog, popup menus, modal forms and the
// hourglass cursor. One set is in force at a time (the program's, or a
// test's twin), so every box shown goes through it.
#pragma once

#include <string>
#include <vector>

#include "host/prompts.h"

namespace ui {

class Form;

// Everything but the credentials window, which lives above this layer: the
// program derives from this class to open it.
class WindowPrompts : public host::Prompts {
 public:
  void showError(const std::string& message) override;
  void showMessage(const std::string& message) override;
  bool confirm(const std::string& caption, const std::string& message) override;
  bool choosePrinter(std::string* printerName) override;
  int popupMenu(Form& owner, const std::vector<std::string>& entries) override;
  void showModal(Form& form) override;
  void setBusy(bool busy) override;
  bool isBusy() const override;

 protected:
  ~WindowPrompts() = default;
};

// The prompts in force: the program's once it installed them; before that,
// window prompts that know no credentials window.
host::Prompts& prompts();
void setPrompts(host::Prompts* prompts);  // nullptr restores the first ones

// The application title: the task bar text and every box's caption.
const std::string& applicationTitle();
void setApplicationTitle(const std::string& title);

// The error box text: a full stop is appended when the message's last
// character sorts after the full stop.
std::string errorBoxText(const std::string& message);

}  // namespace ui
