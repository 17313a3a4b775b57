// Each of the refresh's three steps stands alone: a failure shows in its own
// place and the next step still runs. The timer's refresh runs on the
// window's worker, so a hung print service never holds the window.
#include "service/views/log_view.h"

#include "host/operation_names.h"
#include "service/log_viewer.h"

namespace service {
namespace {

using ui::Kind;

// "Atualizar" sits between the main window's diagnosis and configuration
// buttons.
// clang-format off
const ui::ControlSpec kControls[] = {
    {Kind::Label, "Label1", "gbLog", "Log do servidor", 8, 14, 220, 14},
    {Kind::Button, "Button1", "gbLog", "Atualizar", 331, 8, 90, 25},
    {Kind::Memo, "Memo1", "gbLog", "", 8, 40, 513, 321},
    {Kind::Label, "Label3", "gbLog", "Fila de Impress\xe3o", 8, 368, 300, 14},
    {Kind::Memo, "Memo2", "gbLog", "", 8, 384, 513, 169},
};
// clang-format on

}  // namespace

std::span<const ui::ControlSpec> LogView::controls() { return kControls; }

LogView::LogView(host::ViewHost& host)
    : host_(host),
      window_(host.form),
      caption_(window_.control("Label1")),
      log_(window_.memo("Memo1")),
      queue_(window_.memo("Memo2")),
      refresher_(host.worker, *host.services.http,
                 [this](const LogScreen& screen) { showLogScreen(screen); }) {
  window_.onClick("Button1", [this] { loadLog(); });
  // Esc anywhere in the window refreshes, as "Atualizar" is the form's
  // cancel button.
  window_.setCancelButton("Button1");
}

void LogView::loadLog() {
  const uint64_t number = refresher_.begin();
  host::AppState& state = host_.state;
  const platform::LocalDateTime day = host_.services.clock->now();
  LogScreen screen;
  host_.operations.run(host::kReadingLog, [&](host::Operation& op) {
    screen = readLogScreen(op.http(), state.appDir, day, *state.tables.printers);
  });
  if (refresher_.mayShow(number)) showLogScreen(screen);
}

bool LogView::refreshInBackground() {
  host::AppState& state = host_.state;
  return refresher_.startInBackground(state.appDir, host_.services.clock->now(),
                                      *state.tables.printers);
}

void LogView::showLogScreen(const LogScreen& screen) {
  caption_.setText(screen.caption);
  // No file for the day yet (just after midnight): the view keeps the log
  // it showed.
  if (screen.log) log_.setText(*screen.log);
  // The end of the log in view, also after the user scrolled up.
  log_.scrollToEnd();
  queue_.setLines(screen.queue);
}

}  // namespace service
