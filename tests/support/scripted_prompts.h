// The prompts of a GUI test: every box is recorded with its kind and text,
// questions and dialogs are answered from a script, and a question or dialog
// the test did not script fails the test instead of blocking it.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/prompts.h"

class ScriptedPrompts : public ui::Prompts {
 public:
  struct Shown {
    std::string kind;  // "error", "message", "confirm"
    std::string caption;
    std::string text;
  };

  ScriptedPrompts();  // installs itself
  ~ScriptedPrompts() override;

  void showError(const std::string& message) override;
  void showMessage(const std::string& message) override;
  bool confirm(const std::string& caption, const std::string& message) override;
  bool choosePrinter(std::string* printerName) override;
  void showModal(ui::Form& form) override;
  int popupMenu(ui::Form& owner, const std::vector<std::string>& entries) override;

  // Texts shown so far, of one kind ("" for all).
  std::vector<std::string> texts(const std::string& kind = "") const;

  std::vector<Shown> shown;
  std::deque<bool> confirmAnswers;
  std::deque<std::optional<std::string>> printerChoices;  // nullopt = cancel
  // Acts on a modal window while it is open (fill fields, click); when it
  // leaves the window open, the window is closed as by its close box.
  std::deque<std::function<void(ui::Form&)>> modalScripts;
  int modalCount = 0;
  // Every popup's entries, and the index each answers (-1: dismissed).
  std::vector<std::vector<std::string>> popups;
  std::deque<int> popupAnswers;
};
