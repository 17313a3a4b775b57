// The application's task-bar window and the main form it stands for.
#include <vector>

#include "ui/form.h"
#include "ui/form_internal.h"
#include "ui/form_messages.h"
#include "ui/prompts.h"

namespace ui {

HWND applicationHwnd = nullptr;
HWND mainFormHwnd = nullptr;

namespace {

const char kApplicationClass[] = "TApplication";

// The task bar button's window: zero-sized, so it is never seen itself.
// Minimised, it hides the forms that belong to it (not every system does
// that for an owner), and restored, it shows them again; activated from the
// task bar, it hands the activation on to the form that was last active;
// closed from there, it closes the main form.
std::vector<HWND> formsHiddenWhileMinimised;

BOOL CALLBACK hideOwnedForm(HWND hwnd, LPARAM owner) {
  if (GetWindow(hwnd, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(hwnd)) {
    ShowWindow(hwnd, SW_HIDE);
    formsHiddenWhileMinimised.push_back(hwnd);
  }
  return TRUE;
}

LRESULT CALLBACK applicationProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE && !IsIconic(hwnd)) {
        EnumThreadWindows(GetCurrentThreadId(), hideOwnedForm, reinterpret_cast<LPARAM>(hwnd));
      } else if ((wp & 0xFFF0) == SC_RESTORE && IsIconic(hwnd)) {
        LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
        for (HWND form : formsHiddenWhileMinimised)
          if (IsWindow(form)) ShowWindow(form, SW_SHOWNA);
        formsHiddenWhileMinimised.clear();
        PostMessageA(hwnd, kActivateMainForm, 0, 0);
        return result;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !IsIconic(hwnd)) PostMessageA(hwnd, kActivateMainForm, 0, 0);
      return 0;
    case kActivateMainForm: {
      HWND popup = GetLastActivePopup(hwnd);
      if (popup == hwnd) popup = mainFormHwnd;
      if (popup && IsWindowVisible(popup) && IsWindowEnabled(popup)) SetActiveWindow(popup);
      return 0;
    }
    case WM_CLOSE:
      if (mainFormHwnd) PostMessageA(mainFormHwnd, WM_CLOSE, 0, 0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

ApplicationWindow::ApplicationWindow() {
  if (!appInstance) initialise(GetModuleHandleA(nullptr));
  registerClass(kApplicationClass, applicationProc);
  int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
  hwnd_ = CreateWindowExA(0, kApplicationClass, applicationTitle().c_str(),
                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS, x,
                          y, 0, 0, nullptr, nullptr, appInstance, nullptr);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  applicationHwnd = hwnd_;
}

ApplicationWindow::~ApplicationWindow() {
  if (applicationHwnd == hwnd_) applicationHwnd = nullptr;
  mainFormHwnd = nullptr;
  formsHiddenWhileMinimised.clear();
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

}  // namespace ui
