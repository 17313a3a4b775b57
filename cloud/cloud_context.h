// What the cloud operations (login, catalog sync) work on: the HTTP client,
// the window they report to, the API endpoints, and the program state they
// read and replace. The main window's views build one per operation from its
// state; tests build one over a scripted client, a recording port and a
// temporary directory.
//
// The operations leave the mouse cursor to their caller: the window's
// handler holds the hourglass for as long as it runs.
#pragma once

#include <string>

#include "cloud/endpoints.h"
#include "host/window_port.h"
#include "net/http_fetcher.h"
#include "routing/tables.h"

namespace cloud {

struct CloudContext {
  net::HttpFetcher& http;
  // Messages, the category list's refill, the log screen after the login.
  host::WindowPort& window;
  ApiEndpoints endpoints;
  std::string& token;       // the token held in memory
  routing::Tables& tables;  // categories and cards are replaced here
  std::string appDir;       // where the table files and the stored token go
};

}  // namespace cloud
