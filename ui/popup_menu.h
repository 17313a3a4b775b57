// The popup menu of the category list: a plain list of entries opened at the
// mouse pointer, whose choice is handed back instead of posted as a command.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// The entry text as the menu must receive it to show it verbatim: a menu
// would take "&" as the mark of an accelerator, so every "&" is doubled.
std::string popupMenuText(const std::string& entry);

// Opens the popup at the mouse pointer's current screen position over
// `owner` and waits for the user: the index of the chosen entry, or -1 when
// the popup was dismissed.
int trackPopupMenuAtCursor(HWND owner, const std::vector<std::string>& entries);

}  // namespace ui
