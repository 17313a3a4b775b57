// The log screen's refresh.
#include "app/main_window.h"

namespace app {

// The refresh of the service state, day log and queue is built with the log
// viewer; until then the screen keeps what it shows.
void MainWindow::loadLog() {}

}  // namespace app
