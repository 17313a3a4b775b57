// What the cloud operations (login, catalog sync) work on: the HTTP client,
// the API endpoints, the program state they read and replace, and what they
// ask of the window. The main window builds one per operation from its own
// state; tests build one over a scripted client and a temporary directory.
//
// The operations leave the mouse cursor to their caller: the window's
// handler holds the hourglass for as long as it runs.
#pragma once

#include <functional>
#include <string>

#include "cloud/endpoints.h"
#include "net/http_fetcher.h"
#include "routing/tables.h"

namespace cloud {

struct CloudView {
  // An information box with the text and an OK button.
  std::function<void(const std::string& text)> showMessage;
  // Rebuilds the category list from the category table (loadCategoria).
  std::function<void()> refillCategoryList;
  // Shows the log screen and hides the login screen.
  std::function<void()> showLogScreen;
  // Keeps the token in the settings file (section "CONFIG", key "token");
  // see settingsTokenStore.
  std::function<void(const std::string& token)> storeToken;
};

struct CloudContext {
  net::HttpFetcher& http;
  ApiEndpoints endpoints;
  std::string& token;       // the token held in memory
  routing::Tables& tables;  // categories and cards are replaced here
  std::string appDir;       // where the table files are written
  CloudView view;
};

// Shows the text in the view's information box, when the view has one.
inline void showMessage(const CloudView& view, const std::string& text) {
  if (view.showMessage) view.showMessage(text);
}

// The token store of the program: writes the token into the settings file
// of `appDir`.
std::function<void(const std::string&)> settingsTokenStore(const std::string& appDir);

}  // namespace cloud
