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

// A nested operation leaves the cursor as the outer one had it.
BusyCursor::BusyCursor() : wasBusy_(busy) { setBusy(true); }
BusyCursor::~BusyCursor() { setBusy(wasBusy_); }

}  // namespace ui
