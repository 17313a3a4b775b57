// The log screen's refresh: the service's state in the caption, the day's
// log, and the queue per printer. Each of the three steps stands alone: a
// failure shows in its own place and the next step still runs.
#include "app/main_window.h"
#include "service/log_viewer.h"

namespace app {

void MainWindow::loadLog() {
  control("Label1").setText(service::serviceStateCaption(http()));

  ui::Memo log = memo("Memo1");
  try {
    const platform::Clock& clock = env_.clock ? *env_.clock : platform::systemClock();
    // No file for the day yet (just after midnight): the view keeps the
    // log it showed.
    if (auto lines = service::readDayLog(state_.appDir, clock.now())) log.setLines(*lines);
    // The end of the log in view, also after the user scrolled up.
    log.lineScroll(log.lineCount());
  } catch (const std::exception& e) {
    log.setLines({service::readErrorLine(e)});
  }

  memo("Memo2").setLines(service::queueView(state_.appDir, *state_.tables.printers));
}

}  // namespace app
