// The prompts of a window test: ScriptedPrompts installed as the program's
// prompts, with modal windows shown for real and acted on by a script.
#pragma once

#include <deque>
#include <functional>

#include "tests/support/scripted_prompts.h"

class ScriptedWindowPrompts : public ScriptedPrompts {
 public:
  ScriptedWindowPrompts();  // installs itself
  ~ScriptedWindowPrompts() override;

  void showModal(ui::Form& form) override;

  // Acts on a modal window while it is open (fill fields, click); when it
  // leaves the window open, the window is closed as by its close box.
  std::deque<std::function<void(ui::Form&)>> modalScripts;

 protected:
  std::string caption() const override;
};
