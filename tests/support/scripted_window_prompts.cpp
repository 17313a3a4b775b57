#include "tests/support/scripted_window_prompts.h"

#include "ui/form.h"
#include "ui/prompts.h"

ScriptedWindowPrompts::ScriptedWindowPrompts() { ui::setPrompts(this); }

ScriptedWindowPrompts::~ScriptedWindowPrompts() { ui::setPrompts(nullptr); }

std::string ScriptedWindowPrompts::caption() const { return ui::applicationTitle(); }

void ScriptedWindowPrompts::showModal(ui::Form& form) {
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
