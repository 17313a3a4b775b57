#include "ui/prompts.h"

#include <windows.h>

#include <commdlg.h>

#include <stdexcept>
#include <vector>

#include "ui/cursor.h"
#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/popup_menu.h"

namespace ui {
namespace {

std::string title = "Quelta Configura\xe7\xe3o";

HWND activeOwner() {
  HWND active = GetActiveWindow();
  return active ? active : nullptr;
}

// ---- the Yes/No question ----------------------------------------------------
// A message box with Yes and No cannot be answered with Esc, and its button
// captions follow the system's language; the question is a dialog of its
// own: question icon, the message, "&Yes" (the default) and "&No", with Esc
// and the close box answering No.

constexpr int kConfirmIconId = 100;
constexpr int kConfirmTextId = 101;
// 96-DPI pixels.
constexpr int kConfirmMargin = 12;
constexpr int kConfirmTextWidth = 360;
constexpr int kConfirmButtonWidth = 75;
constexpr int kConfirmButtonHeight = 23;
constexpr int kConfirmButtonGap = 6;

struct ConfirmText {
  const std::string* caption;
  const std::string* message;
};

// A dialog template in memory; its strings are UTF-16, DWORD-aligned items.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, const wchar_t* font, WORD pointSize) {
    align();
    putDword(style);
    putDword(0);  // extended style
    countAt_ = words_.size();
    putWord(0);                              // item count, filled in by add()
    for (int i = 0; i < 4; ++i) putWord(0);  // x, y, cx, cy: set when shown
    putWord(0);                              // no menu
    putWord(0);                              // the standard dialog class
    putString(L"");
    putWord(pointSize);
    putString(font);
  }

  void add(WORD classAtom, const wchar_t* title, DWORD style, WORD id) {
    align();
    putDword(style | WS_CHILD | WS_VISIBLE);
    putDword(0);
    for (int i = 0; i < 4; ++i) putWord(0);
    putWord(id);
    putWord(0xFFFF);
    putWord(classAtom);
    putString(title);
    putWord(0);  // no creation data
    ++words_[countAt_];
  }

  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void putWord(WORD w) { words_.push_back(w); }
  void putDword(DWORD d) {
    putWord(LOWORD(d));
    putWord(HIWORD(d));
  }
  void putString(const wchar_t* text) {
    do {
      putWord(static_cast<WORD>(*text));
    } while (*text++);
  }
  void align() {
    if (words_.size() % 2) putWord(0);
  }

  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

void layoutConfirm(HWND dialog) {
  HWND text = GetDlgItem(dialog, kConfirmTextId);
  HDC dc = GetDC(text);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  char buffer[2048];
  int length = GetWindowTextA(text, buffer, sizeof buffer);
  const int margin = scaled(kConfirmMargin);
  const int buttonWidth = scaled(kConfirmButtonWidth);
  const int buttonHeight = scaled(kConfirmButtonHeight);
  const int buttonGap = scaled(kConfirmButtonGap);
  RECT measured{0, 0, scaled(kConfirmTextWidth), 0};
  DrawTextA(dc, buffer, length, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(text, dc);

  int icon = GetSystemMetrics(SM_CXICON);
  int textLeft = margin + icon + margin;
  int textHeight = static_cast<int>(measured.bottom);
  int contentHeight = textHeight > icon ? textHeight : icon;
  int buttonsWidth = 2 * buttonWidth + buttonGap;
  int clientWidth = textLeft + static_cast<int>(measured.right) + margin;
  if (clientWidth < buttonsWidth + 2 * margin) clientWidth = buttonsWidth + 2 * margin;
  int buttonsTop = margin + contentHeight + margin;
  int clientHeight = buttonsTop + buttonHeight + margin;

  MoveWindow(GetDlgItem(dialog, kConfirmIconId), margin, margin, icon, icon, FALSE);
  MoveWindow(text, textLeft, margin + (contentHeight - textHeight) / 2,
             static_cast<int>(measured.right), textHeight, FALSE);
  int left = (clientWidth - buttonsWidth) / 2;
  MoveWindow(GetDlgItem(dialog, IDYES), left, buttonsTop, buttonWidth, buttonHeight, FALSE);
  MoveWindow(GetDlgItem(dialog, IDNO), left + buttonWidth + buttonGap, buttonsTop, buttonWidth,
             buttonHeight, FALSE);

  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
}

INT_PTR CALLBACK confirmProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG: {
      const auto* text = reinterpret_cast<const ConfirmText*>(lp);
      SetWindowTextA(dialog, text->caption->c_str());
      SetDlgItemTextA(dialog, kConfirmTextId, text->message->c_str());
      SendDlgItemMessageA(dialog, kConfirmIconId, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
      layoutConfirm(dialog);
      SetFocus(GetDlgItem(dialog, IDYES));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDYES:
          EndDialog(dialog, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:  // Esc and the close box
          EndDialog(dialog, IDNO);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

bool showConfirmDialog(HWND owner, const std::string& caption, const std::string& message) {
  DialogTemplate dialog(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        L"MS Shell Dlg", 8);
  const WORD kStatic = 0x0082, kButton = 0x0080;
  dialog.add(kStatic, L"", SS_ICON, kConfirmIconId);
  dialog.add(kStatic, L"", SS_LEFT | SS_NOPREFIX, kConfirmTextId);
  dialog.add(kButton, L"&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDYES);
  dialog.add(kButton, L"&No", BS_PUSHBUTTON | WS_TABSTOP, IDNO);
  ConfirmText text{&caption, &message};
  MessageBeep(MB_ICONQUESTION);
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.get(), owner, confirmProc,
                                 reinterpret_cast<LPARAM>(&text)) == IDYES;
}

// Before the program installs its own: a credentials window asked for here
// is a programming error.
class FirstPrompts final : public WindowPrompts {
 public:
  void openCredentials() override {
    throw std::logic_error("no credentials window before the program's prompts are installed");
  }
};

FirstPrompts firstPrompts;
host::Prompts* current = &firstPrompts;

}  // namespace

void WindowPrompts::showError(const std::string& message) {
  MessageBoxA(activeOwner(), shownText(message).c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void WindowPrompts::showMessage(const std::string& message) {
  MessageBoxA(activeOwner(), shownText(message).c_str(), title.c_str(), MB_OK);
}

bool WindowPrompts::confirm(const std::string& caption, const std::string& message) {
  return showConfirmDialog(activeOwner(), caption, message);
}

bool WindowPrompts::choosePrinter(std::string* printerName) {
  PRINTDLGA dlg{};
  dlg.lStructSize = sizeof dlg;
  dlg.hwndOwner = activeOwner();
  dlg.Flags = PD_PRINTSETUP;
  if (!PrintDlgA(&dlg)) return false;
  bool chosen = false;
  if (dlg.hDevNames) {
    auto* names = static_cast<DEVNAMES*>(GlobalLock(dlg.hDevNames));
    if (names) {
      *printerName = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
      chosen = true;
      GlobalUnlock(dlg.hDevNames);
    }
    GlobalFree(dlg.hDevNames);
  }
  if (dlg.hDevMode) GlobalFree(dlg.hDevMode);
  return chosen;
}

int WindowPrompts::popupMenu(Form& owner, const std::vector<std::string>& entries) {
  return trackPopupMenuAtCursor(owner.hwnd(), entries);
}

void WindowPrompts::showModal(Form& form) { runModal(form); }

void WindowPrompts::setBusy(bool busy) { ui::setBusy(busy); }

bool WindowPrompts::isBusy() const { return ui::isBusy(); }

host::Prompts& prompts() { return *current; }

void setPrompts(host::Prompts* prompts) { current = prompts ? prompts : &firstPrompts; }

const std::string& applicationTitle() { return title; }

void setApplicationTitle(const std::string& value) { title = value; }

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace ui
