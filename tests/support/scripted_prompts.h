// The prompts of a test: every call written into a journal as text, in
// order, every box kept with its kind and caption, questions and dialogs
// answered from a script. A question or dialog the test did not script
// fails the test instead of blocking it. Modal windows need the window
// layer: ScriptedWindowPrompts (scripted_window_prompts.h) shows them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/prompts.h"

class ScriptedPrompts : public host::Prompts {
 public:
  struct Shown {
    std::string kind;  // "error", "message", "confirm"
    std::string caption;
    std::string text;
  };

  // Its own journal, or one shared with other twins to keep their order.
  ScriptedPrompts() : journal(own_) {}
  explicit ScriptedPrompts(std::vector<std::string>& shared) : journal(shared) {}
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;
  virtual ~ScriptedPrompts() = default;

  // "error <text>", "message <text>", "confirm <caption> <text>", "busy",
  // "normal", "credentials".
  std::vector<std::string>& journal;
  std::vector<Shown> shown;
  // Answers of the questions.
  std::deque<bool> confirmAnswers;
  std::deque<std::optional<std::string>> printerChoices;  // nullopt = cancel
  // Every popup's entries, and the index each answers (-1: dismissed).
  std::vector<std::vector<std::string>> popups;
  std::deque<int> popupAnswers;
  // What opening the credentials window does beyond its journal entry
  // (a window test opens the real window).
  std::function<void()> credentialsWindow;
  int modalCount = 0;
  // Runs after each entry is written, with the entry: what a test checks at
  // the moment of a call.
  std::function<void(const std::string& entry)> onEntry;

  void showError(const std::string& message) override { box("error", caption(), message); }
  void showMessage(const std::string& message) override { box("message", caption(), message); }
  bool confirm(const std::string& caption, const std::string& message) override {
    box("confirm", caption, message);
    if (confirmAnswers.empty()) {
      ADD_FAILURE() << "unexpected question: " << message;
      return false;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  bool choosePrinter(std::string* printerName) override {
    if (printerChoices.empty()) {
      ADD_FAILURE() << "unexpected printer setup dialog";
      return false;
    }
    const std::optional<std::string> choice = printerChoices.front();
    printerChoices.pop_front();
    if (!choice) return false;
    *printerName = *choice;
    return true;
  }
  int popupMenu(ui::Form&, const std::vector<std::string>& entries) override {
    popups.push_back(entries);
    if (popupAnswers.empty()) {
      ADD_FAILURE() << "unexpected popup menu";
      return -1;
    }
    const int answer = popupAnswers.front();
    popupAnswers.pop_front();
    return answer;
  }
  void showModal(ui::Form&) override {
    ++modalCount;
    ADD_FAILURE() << "a modal window in a test without windows";
  }
  void openCredentials() override {
    write("credentials");
    if (credentialsWindow) credentialsWindow();
  }
  void setBusy(bool busy) override {
    busy_ = busy;
    write(busy ? "busy" : "normal");
  }
  bool isBusy() const override { return busy_; }

  // Texts shown so far, of one kind ("" for all).
  std::vector<std::string> texts(const std::string& kind = "") const {
    std::vector<std::string> out;
    for (const Shown& s : shown)
      if (kind.empty() || s.kind == kind) out.push_back(s.text);
    return out;
  }
  std::vector<std::string> messages() const { return texts("message"); }
  int count(const std::string& entry) const {
    int n = 0;
    for (const std::string& e : journal) n += e == entry;
    return n;
  }

 protected:
  // The caption of the application's boxes.
  virtual std::string caption() const { return ""; }

 private:
  void box(const char* kind, const std::string& caption, const std::string& text) {
    shown.push_back({kind, caption, text});
    write(std::string(kind) + " " + (std::string(kind) == "confirm" ? caption + " " : "") + text);
  }
  void write(const std::string& entry) {
    journal.push_back(entry);
    if (onEntry) onEntry(entry);
  }

  std::vector<std::string> own_;
  bool busy_ = false;
};
