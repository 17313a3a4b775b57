#include "cloud/views/cloud_operation.h"

namespace cloud {

void runCloudOperation(host::ViewHost& host, const char* name, const ApiEndpoints& endpoints,
                       const std::function<void(CloudContext&, host::Operation&)>& step) {
  host::Busy busy(host.prompts());
  host::AppState& state = host.state;
  unsigned refill = host::kRefillNothing;
  try {
    host.operations.run(name, [&](host::Operation& op) {
      CloudContext context{op.http(), op.prompts(), endpoints,
                           state.token, state.tables, state.appDir};
      try {
        step(context, op);
      } catch (...) {
        refill = context.refill;
        throw;
      }
      refill = context.refill;
    });
  } catch (...) {
    host.apply({"", refill});
    throw;
  }
  host.apply({"", refill});
}

}  // namespace cloud
