// The sandbox cloud as the login and catalog tests meet it: the native
// server started for the test run by tests/support/sandbox_cloud.sh, whose ready line
// (named by QUELTA_SANDBOX_CLOUD) gives its endpoints, and its control
// requests to script failures and read back what it was asked.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "app/tests/app_fixture.h"
#include "cloud/endpoints.h"
#include "json/json.h"
#include "net/http_client.h"
#include "platform/error.h"
#include "platform/files.h"

namespace sandbox_test {

class Sandbox {
 public:
  std::string production, staging;

  // Reads the endpoints of the running sandbox; false with `error` set when
  // there is none, so the test fails saying why.
  bool find(std::string& error) {
    const char* ready = std::getenv("QUELTA_SANDBOX_CLOUD");
    if (!ready || !*ready) {
      error =
          "QUELTA_SANDBOX_CLOUD does not name the sandbox cloud's ready file; run these tests "
          "through ctest, whose sandbox_cloud fixture starts the sandbox";
      return false;
    }
    std::string path = ready;
    if (path[0] == '/') {  // a host path, seen from Wine through drive Z:
      for (char& c : path) c = c == '/' ? '\\' : c;
      path = "Z:" + path;
    }
    std::string line;
    try {
      line = platform::readFile(path);
    } catch (const quelta::Error& e) {
      error = "the sandbox cloud is not running (" + path + ": " + e.message() + ")";
      return false;
    }
    std::istringstream words(line);
    for (std::string word; words >> word;) {
      if (word.rfind("production=", 0) == 0) production = word.substr(11);
      if (word.rfind("staging=", 0) == 0) staging = word.substr(8);
    }
    if (production.empty() || staging.empty()) {
      error = "the sandbox cloud's ready line names no API endpoints: " + line;
      return false;
    }
    return true;
  }

  // A control request ("reset", "fail?kind=...").
  void control(const std::string& command) {
    client_.getText(production + "/__control/" + command);
    client_.disconnect();
  }

  // What the sandbox was asked since the last reset, one entry per request:
  // "<endpoint> GET <target>".
  std::vector<std::string> requests() {
    std::istringstream text(client_.getText(production + "/__control/requests"));
    client_.disconnect();
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
  }

  // The token the endpoint hands out for the account, asked outside the
  // program (and left out of the request log by a reset).
  std::string tokenFor(const std::string& base, const std::string& query) {
    json::TJSONObject reply(client_.getText(base + "/token?" + query));
    client_.disconnect();
    control("reset");
    return reply.objectOf("data").textOf("token");
  }

 private:
  net::HttpClient client_;
};

// A window test against the sandbox: found and reset before each test, its
// API endpoints the window's. The demo account's query of the token request.
class SandboxAppTest : public AppTest {
 protected:
  static constexpr char kDemoQuery[] = "username=demo@quelta.com.br&password=quelta123";

  void SetUp() override {
    std::string error;
    if (!sandbox.find(error)) FAIL() << error;
    sandbox.control("reset");
    connections.api = cloud::ApiEndpoints{sandbox.production, sandbox.staging};
  }

  Sandbox sandbox;
};

}  // namespace sandbox_test
