#include "tests/support/scripted_prompts.h"

#include <gtest/gtest.h>

#include "ui/form.h"

ScriptedPrompts::ScriptedPrompts() { ui::setPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { ui::setPrompts(nullptr); }

void ScriptedPrompts::showError(const std::string& message) {
  shown.push_back({"error", ui::applicationTitle(), message});
}

void ScriptedPrompts::showMessage(const std::string& message) {
  shown.push_back({"message", ui::applicationTitle(), message});
}

bool ScriptedPrompts::confirm(const std::string& caption, const std::string& message) {
  shown.push_back({"confirm", caption, message});
  if (confirmAnswers.empty()) {
    ADD_FAILURE() << "unexpected question: " << message;
    return false;
  }
  bool answer = confirmAnswers.front();
  confirmAnswers.pop_front();
  return answer;
}

bool ScriptedPrompts::choosePrinter(std::string* printerName) {
  if (printerChoices.empty()) {
    ADD_FAILURE() << "unexpected printer setup dialog";
    return false;
  }
  auto choice = printerChoices.front();
  printerChoices.pop_front();
  if (!choice) return false;
  *printerName = *choice;
  return true;
}

void ScriptedPrompts::showModal(ui::Form& form) {
  ++modalCount;
  if (modalScripts.empty()) {
    ADD_FAILURE() << "unexpected modal window: " << form.caption();
    form.close();
    ui::pumpMessages();
    return;
  }
  auto script = modalScripts.front();
  modalScripts.pop_front();
  form.show();
  ui::pumpMessages();
  script(form);
  ui::pumpMessages();
  if (form.isOpen()) {
    form.close();
    ui::pumpMessages();
  }
}

int ScriptedPrompts::popupMenu(ui::Form&, const std::vector<std::string>& entries) {
  popups.push_back(entries);
  if (popupAnswers.empty()) {
    ADD_FAILURE() << "unexpected popup menu";
    return -1;
  }
  const int answer = popupAnswers.front();
  popupAnswers.pop_front();
  return answer;
}

std::vector<std::string> ScriptedPrompts::texts(const std::string& kind) const {
  std::vector<std::string> out;
  for (const Shown& s : shown)
    if (kind.empty() || s.kind == kind) out.push_back(s.text);
  return out;
}
