// The log screen: the service's state in the caption, the day's log, and the
// queue per printer, refreshed at start-up, by "Atualizar" and by the timer.
#pragma once

#include "host/view_host.h"
#include "service/log_refresh.h"

namespace service {

class LogView {
 public:
  explicit LogView(host::ViewHost& host);

  // Refresh on the window's thread (start-up, "Atualizar").
  void loadLog();
  // The timer's refresh: off the window's thread, shown once it is done;
  // false when the last one still runs.
  bool refreshInBackground();
  bool refreshRunning() const { return refresher_.running(); }

 private:
  void showLogScreen(const LogScreen& screen);

  host::ViewHost& host_;
  ui::Form& window_;
  LogRefresher refresher_;
};

}  // namespace service
