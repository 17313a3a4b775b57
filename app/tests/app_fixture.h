// A GUI test's application directory and prompts: the windows created in a
// test take this directory as their application directory.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "platform/files.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/temp_dir.h"
#include "ui/form.h"

class AppTest : public ::testing::Test {
 protected:
  AppTest() { config::setApplicationDirectory(dir.path()); }
  ~AppTest() override {
    ui::pumpMessages();
    config::setApplicationDirectory("");
  }

  std::string file(const std::string& name) const { return dir.file(name); }
  void write(const std::string& name, const std::string& bytes) const {
    platform::writeFileReplacing(file(name), bytes);
  }
  std::string read(const std::string& name) const { return platform::readFile(file(name)); }

  TempDir dir;
  ScriptedPrompts prompts;
};
