// The real platform services behind the main window's environment.
#pragma once

#include "app/main_window.h"

namespace app {

Environment productionEnvironment();

}  // namespace app
