#include "cloud/views/window_cloud_context.h"

namespace cloud {

CloudContext windowCloudContext(host::ViewHost& host, const ApiEndpoints& endpoints) {
  host::AppState& state = host.state();
  return CloudContext{host.http(), host.port(), endpoints, state.token, state.tables, state.appDir};
}

}  // namespace cloud
