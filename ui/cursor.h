// The mouse cursor of the whole application: the hourglass or the arrow.
// The program's prompts switch it (host::Busy); the forms show it while the
// pointer is over them.
#pragma once

namespace ui {

void setBusy(bool busy);
bool isBusy();

}  // namespace ui
