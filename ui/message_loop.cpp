// The program's event loop, and the modal loop a dialog form runs in.
#include "ui/form.h"

namespace ui {

int runMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) Form::dispatch(msg);
  return static_cast<int>(msg.wParam);
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Form::dispatch(msg);
  }
}

void runModal(Form& form) {
  HWND owner = GetWindow(form.hwnd(), GW_OWNER);
  if (owner) EnableWindow(owner, FALSE);
  form.modalOwner_ = owner;
  form.show();
  MSG msg;
  while (form.isOpen()) {
    int got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Form::dispatch(msg);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
}

}  // namespace ui
