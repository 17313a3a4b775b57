#include "ui/clipboard.h"

#include <cstring>

namespace ui {

bool copyToClipboard(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool done = false;
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    done = SetClipboardData(CF_TEXT, memory) != nullptr;
    // The clipboard owns the memory only once it took it.
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

std::string clipboardText(HWND owner) {
  if (!OpenClipboard(owner)) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace ui
