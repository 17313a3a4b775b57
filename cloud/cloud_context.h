// What the cloud operations (login, catalog sync) work on: the HTTP client,
// the prompts they report through, the API endpoints, and the program state
// they read and replace. The main window's views build one per operation
// from its state; tests build one over a scripted client, the prompts' twin
// and a temporary directory.
//
// The operations leave the mouse cursor to their caller: the window's
// handler holds the hourglass for as long as it runs.
#pragma once

#include <functional>
#include <string>

#include "cloud/endpoints.h"
#include "host/outcome.h"
#include "host/prompts.h"
#include "net/http_fetcher.h"
#include "routing/tables.h"

namespace cloud {

struct CloudContext {
  net::HttpFetcher& http;
  // The server's refusals.
  host::Prompts& prompts;
  ApiEndpoints endpoints;
  std::string& token;       // the token held in memory
  routing::Tables& tables;  // categories and cards are replaced here
  std::string appDir;       // where the table files and the stored token go
  // What the operation leaves the window to do once it has returned: the
  // lists of the tables it replaced, to fill again.
  unsigned refill = host::kRefillNothing;
  // The login's step into the program: the window shows its log screen.
  std::function<void()> showLogScreen = [] {};
};

}  // namespace cloud
