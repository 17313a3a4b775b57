// The cloud operations' view of the main window: its HTTP client, its token
// and tables, its application directory, and its boxes, lists and screens.
#pragma once

#include "cloud/cloud_context.h"

namespace app {
class MainWindow;
}

namespace cloud {

// A context over the window's state as it is now; build one per operation.
CloudContext windowCloudContext(app::MainWindow& window);

}  // namespace cloud
