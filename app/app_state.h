// The program-wide state the main window's module owns for the whole run.
#pragma once

#include <string>

#include "config/version.h"
#include "routing/tables.h"

namespace app {

inline constexpr char kTitle[] = "Quelta Configura\xe7\xe3o";

struct AppState {
  std::string appDir;  // directory of the running program, no trailing separator
  std::string token;   // empty when not logged in
  std::string companyName;
  routing::Tables tables;
};

}  // namespace app
