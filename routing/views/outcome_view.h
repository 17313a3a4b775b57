// What the views do with the outcome of an action of the configuration
// screen: the lists it names are filled again, then its message is shown.
#pragma once

#include "routing/outcome.h"

namespace app {
class MainWindow;
}

namespace routing {

// Refills in the order printer list, category list, product list, product
// printer choice; then the message, if any, in an information box.
void applyOutcome(app::MainWindow& window, const Outcome& outcome);

}  // namespace routing
