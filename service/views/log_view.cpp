// Each of the refresh's three steps stands alone: a failure shows in its own
// place and the next step still runs. The timer's refresh runs on the
// window's worker, so a hung print service never holds the window.
#include "service/views/log_view.h"

#include "service/log_viewer.h"

namespace service {

LogView::LogView(host::ViewHost& host)
    : host_(host),
      window_(host.form()),
      refresher_(host.worker(), *host.services().http,
                 [this](const LogScreen& screen) { showLogScreen(screen); }) {
  window_.onClick("Button1", [this] { loadLog(); });
}

void LogView::loadLog() {
  const uint64_t number = refresher_.begin();
  host::AppState& state = host_.state();
  LogScreen screen = readLogScreen(host_.http(), state.appDir, host_.services().clock->now(),
                                   *state.tables.printers);
  if (refresher_.mayShow(number)) showLogScreen(screen);
}

bool LogView::refreshInBackground() {
  host::AppState& state = host_.state();
  return refresher_.startInBackground(state.appDir, host_.services().clock->now(),
                                      *state.tables.printers);
}

void LogView::showLogScreen(const LogScreen& screen) {
  window_.control("Label1").setText(screen.caption);
  ui::Memo log = window_.memo("Memo1");
  // No file for the day yet (just after midnight): the view keeps the log
  // it showed.
  if (screen.log) log.setText(*screen.log);
  // The end of the log in view, also after the user scrolled up.
  log.scrollToEnd();
  window_.memo("Memo2").setLines(screen.queue);
}

}  // namespace service
