// The window port of a test: every call written into a journal as text, in
// order, questions answered from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host/window_port.h"

class RecordingPort : public host::WindowPort {
 public:
  // Its own journal, or one shared with other twins to keep their order.
  RecordingPort() : journal(own_) {}
  explicit RecordingPort(std::vector<std::string>& shared) : journal(shared) {}

  // "message <text>", "confirm <caption> <text>", "busy", "normal", the
  // refill routine of each list ("loadImpressora", "loadCategoria",
  // "loadProduto", "loadProdutoImpressora"), "credentials", "log screen".
  std::vector<std::string>& journal;
  // Answers of the questions; a question beyond them fails the test.
  std::deque<bool> answers;
  // Runs after each entry is written, with the entry: what a test checks at
  // the moment of a call.
  std::function<void(const std::string& entry)> onEntry;

  void showMessage(const std::string& text) override { write("message " + text); }
  bool confirm(const std::string& caption, const std::string& text) override {
    write("confirm " + caption + " " + text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void setBusy(bool busy) override { write(busy ? "busy" : "normal"); }
  void refill(unsigned lists) override {
    if (lists & host::kRefillPrinterList) write("loadImpressora");
    if (lists & host::kRefillCategoryList) write("loadCategoria");
    if (lists & host::kRefillProductList) write("loadProduto");
    if (lists & host::kRefillProductPrinterChoice) write("loadProdutoImpressora");
  }
  void openCredentials() override { write("credentials"); }
  void showLogScreen() override { write("log screen"); }

  // The texts of the information boxes, in order.
  std::vector<std::string> messages() const {
    std::vector<std::string> texts;
    for (const std::string& entry : journal)
      if (entry.rfind("message ", 0) == 0) texts.push_back(entry.substr(8));
    return texts;
  }
  int count(const std::string& entry) const {
    int n = 0;
    for (const std::string& e : journal) n += e == entry;
    return n;
  }

 private:
  void write(const std::string& entry) {
    journal.push_back(entry);
    if (onEntry) onEntry(entry);
  }

  std::vector<std::string> own_;
};
