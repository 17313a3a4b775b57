// The program state the main window owns for the whole run, and that its
// views read and replace.
#pragma once

#include <string>

#include "routing/tables.h"

namespace host {

struct AppState {
  std::string appDir;  // directory of the running program, no trailing separator
  std::string token;   // empty when not logged in
  std::string companyName;
  routing::Tables tables;
};

}  // namespace host
