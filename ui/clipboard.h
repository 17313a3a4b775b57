// The clipboard: text put there as the program holds it (ANSI).
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// Replaces the clipboard's content with `text`; false when the clipboard
// could not be opened (another program holds it).
bool copyToClipboard(HWND owner, const std::string& text);

// The clipboard's text, empty when it holds none.
std::string clipboardText(HWND owner);

}  // namespace ui
