// The cloud operations' context over the main window: its HTTP client, its
// port, its token and tables, its application directory.
#pragma once

#include "cloud/cloud_context.h"
#include "host/view_host.h"

namespace cloud {

// A context over the window's state as it is now; build one per operation.
CloudContext windowCloudContext(host::ViewHost& host, const ApiEndpoints& endpoints);

}  // namespace cloud
