#include "app/single_instance.h"

namespace app {

// The name is released with the process, so the tool the update's script
// starts once the old one has ended finds it free.
SingleInstance::SingleInstance(const char* name)
    : mutex_(CreateMutexA(nullptr, FALSE, name)),
      first_(mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) {}

SingleInstance::~SingleInstance() {
  if (mutex_) CloseHandle(mutex_);
}

bool SingleInstance::bringToFront(const char* windowClass) {
  HWND window = FindWindowA(windowClass, nullptr);
  if (!window) return false;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  return true;
}

}  // namespace app
