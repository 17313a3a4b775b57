#include "ui/prompts.h"

#include <windows.h>

#include <commdlg.h>

#include "ui/form.h"

namespace ui {
namespace {

std::string title = "Quelta Configura\xe7\xe3o";

HWND activeOwner() {
  HWND active = GetActiveWindow();
  return active ? active : nullptr;
}

class Win32Prompts : public Prompts {
 public:
  void showError(const std::string& message) override {
    MessageBoxA(activeOwner(), message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  }

  void showMessage(const std::string& message) override {
    MessageBoxA(activeOwner(), message.c_str(), title.c_str(), MB_OK);
  }

  bool confirm(const std::string& caption, const std::string& message) override {
    return MessageBoxA(activeOwner(), message.c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
  }

  bool choosePrinter(std::string* printerName) override {
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

  void showModal(Form& form) override { runModal(form); }
};

Win32Prompts win32Prompts;
Prompts* current = &win32Prompts;

}  // namespace

Prompts& prompts() { return *current; }

void setPrompts(Prompts* prompts) { current = prompts ? prompts : &win32Prompts; }

const std::string& applicationTitle() { return title; }

void setApplicationTitle(const std::string& value) { title = value; }

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

}  // namespace ui
