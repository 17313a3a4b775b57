// The log screen: the service's state in the caption, the day's log, and the
// queue per printer, refreshed at start-up, by "Atualizar" and by the timer.
#pragma once

#include <span>

#include "host/view_host.h"
#include "service/log_refresh.h"

namespace service {

class LogView {
 public:
  // Its controls, on the main window's log screen gbLog.
  static std::span<const ui::ControlSpec> controls();

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
  ui::Control caption_;
  ui::Memo log_, queue_;
  LogRefresher refresher_;
};

}  // namespace service
