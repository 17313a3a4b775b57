#include "ui/cursor.h"

#include <windows.h>

namespace ui {
namespace {
bool busy = false;
}

void setBusy(bool value) {
  busy = value;
  SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

bool isBusy() { return busy; }

}  // namespace ui
