// The version check of the main window's first activation and, on "Yes",
// the self-update.
#pragma once

#include "host/view_host.h"
#include "update/update.h"

namespace update {

class UpdateView {
 public:
  UpdateView(host::ViewHost& host, UpdateSource source);

  // Asks the download host's manifest, unless the window was built to check
  // nothing; errors run out to the caller.
  void versionCheck();

 private:
  host::ViewHost& host_;
  const UpdateSource source_;
};

}  // namespace update
