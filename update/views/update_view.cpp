#include "update/views/update_view.h"

#include "config/version.h"

namespace update {

UpdateView::UpdateView(host::ViewHost& host, UpdateSource source)
    : host_(host), source_(std::move(source)) {}

void UpdateView::versionCheck() {
  if (!source_.check) return;
  const platform::Services& services = host_.services();
  UpdateContext context{host_.http(),      host_.port(),    *services.serviceManager,
                        *services.process, *services.clock, host_.state().appDir,
                        config::kVersion,  source_};
  checkForUpdate(context);
}

}  // namespace update
