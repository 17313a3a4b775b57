// The log screen's refresh: the service's state in the caption, the day's
// log, and the queue per printer. Each of the three steps stands alone: a
// failure shows in its own place and the next step still runs. The timer's
// refresh runs off the window's thread, so a hung print service never holds
// the window; start-up and "Atualizar" refresh on it.
#include "app/main_window.h"
#include "service/log_viewer.h"

namespace app {

void MainWindow::bindLogRefresh() {
  const UINT refreshed = onPosted([this] {
    if (auto screen = logRefresher_->takeResult()) showLogScreen(*screen);
  });
  const HWND self = hwnd();
  logRefresher_ = std::make_unique<service::LogRefresher>(
      [self, refreshed] { PostMessageA(self, refreshed, 0, 0); },
      [] { return std::make_unique<net::HttpClient>(); });
}

void MainWindow::loadLog() {
  const uint64_t number = logRefresher_->begin();
  const platform::Clock& clock = env_.clock ? *env_.clock : platform::systemClock();
  service::LogScreen screen =
      service::readLogScreen(http(), state_.appDir, clock.now(), *state_.tables.printers);
  if (logRefresher_->mayShow(number)) showLogScreen(screen);
}

bool MainWindow::refreshLogInBackground() {
  const platform::Clock& clock = env_.clock ? *env_.clock : platform::systemClock();
  return logRefresher_->startInBackground(state_.appDir, clock.now(), *state_.tables.printers);
}

void MainWindow::showLogScreen(const service::LogScreen& screen) {
  control("Label1").setText(screen.caption);
  ui::Memo log = memo("Memo1");
  // No file for the day yet (just after midnight): the view keeps the log
  // it showed.
  if (screen.log) log.setText(*screen.log);
  // The end of the log in view, also after the user scrolled up.
  log.scrollToEnd();
  memo("Memo2").setLines(screen.queue);
}

}  // namespace app
