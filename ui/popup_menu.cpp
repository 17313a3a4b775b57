#include "ui/popup_menu.h"

namespace ui {

std::string popupMenuText(const std::string& entry) {
  std::string text;
  text.reserve(entry.size());
  for (char c : entry) {
    text += c;
    if (c == '&') text += '&';
  }
  return text;
}

int trackPopupMenuAtCursor(HWND owner, const std::vector<std::string>& entries) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  // Command 0 is what the menu answers when dismissed, so entry i is i + 1.
  for (size_t i = 0; i < entries.size(); ++i) {
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), popupMenuText(entries[i]).c_str());
  }
  POINT at{0, 0};
  GetCursorPos(&at);
  int command = static_cast<int>(TrackPopupMenu(
      menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
      at.y, 0, owner, nullptr));
  DestroyMenu(menu);
  return command > 0 && command <= static_cast<int>(entries.size()) ? command - 1 : -1;
}

}  // namespace ui
