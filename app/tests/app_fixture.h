// A GUI test's application directory, prompts and platform services: the
// windows created in a test take this directory as their application
// directory, the headless twins as their services (a test may put a real
// one in) but the program's own HTTP client, which talks to the servers of
// the tests' own, the build's cloud API, and no download host.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "config/settings.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "service/views/credentials_window.h"
#include "tests/support/recording_services.h"
#include "tests/support/scripted_window_prompts.h"
#include "tests/support/temp_dir.h"
#include "ui/form.h"

class AppTest : public ::testing::Test {
 protected:
  AppTest() {
    config::setApplicationDirectory(dir.path());
    services.http = &net::systemHttp();
    prompts.credentialsWindow = [] { service::CredentialsWindow::openModal(GetActiveWindow()); };
  }
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
  ScriptedWindowPrompts prompts;
  printtest::Recorders twins;
  platform::Services services = twins.all();
  app::Connections connections{cloud::builtInApiEndpoints(), update::UpdateSource::none()};
};
