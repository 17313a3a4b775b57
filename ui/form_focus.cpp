// The focus and the keyboard of a form, the way a Windows dialog has them.
//
// The focus follows what is shown: a container hidden while it holds the
// focus hands it to the control that had it when the container was shown,
// or else to the first tab stop that stays; a box that opens takes it. Tab
// and Shift+Tab go through the shown controls in the table's order (the
// tables are written in reading order), past the read-only views that would
// keep the key; Enter and Esc press the default and cancel buttons of the
// innermost scope that names one.
//
// Nothing hidden or disabled keeps the focus: the dialog manager's search
// for a mnemonic walks the shown controls until it comes back to the focus,
// and from a control it cannot reach it never comes back.
#include <algorithm>

#include "ui/form.h"
#include "ui/form_messages.h"

namespace ui {
namespace {

bool isClass(HWND hwnd, const char* name) {
  char cls[32] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  return lstrcmpiA(cls, name) == 0;
}

bool droppedDown(HWND hwnd) {
  return isClass(hwnd, "ComboBox") && SendMessageA(hwnd, CB_GETDROPPEDSTATE, 0, 0);
}

bool isMouseDown(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return true;
  }
  return false;
}

bool inside(HWND container, HWND hwnd) {
  return hwnd && (hwnd == container || IsChild(container, hwnd));
}

}  // namespace

void Form::setKeys(const std::string& scope, Keys keys) {
  if (!keys.defaultButton.empty()) entry(keys.defaultButton);
  if (!keys.cancelButton.empty()) entry(keys.cancelButton);
  scopes_[scope.empty() ? hwnd_ : handle(scope)].keys = std::move(keys);
}

void Form::setBox(const std::string& container, Keys keys) {
  setKeys(container, std::move(keys));
  scopes_[handle(container)].box = true;
}

void Form::dispatch(MSG& msg) {
  HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  Form* form = nullptr;
  if (root && GetWindowLongPtrA(root, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(windowProc))
    form = reinterpret_cast<Form*>(GetWindowLongPtrA(root, GWLP_USERDATA));
  if (form) {
    if (form->preTranslate(msg)) return;
    if (IsDialogMessageA(form->dialogScope(), &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool Form::preTranslate(MSG& msg) {
  if (isMouseDown(msg.message)) {
    // A box is modal within the form: clicks elsewhere in it do nothing.
    HWND box = activeBox();
    return box && msg.hwnd != hwnd_ && !inside(box, msg.hwnd);
  }
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST) return false;
  repairFocus();
  // The key was meant for the focus when it was pressed; if that control
  // has gone since, it goes to the focus now.
  if (!takesFocus(controlOf(msg.hwnd))) {
    HWND focus = GetFocus();
    msg.hwnd = focus && ownsWindow(focus) ? focus : hwnd_;
  }
  if (msg.message == WM_CHAR && (msg.wParam == '\t' || msg.wParam == '\r' || msg.wParam == 27))
    return !droppedDown(controlOf(GetFocus()));
  if (msg.message != WM_KEYDOWN) return false;
  const bool ctrlOrAlt = (GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000);
  HWND focus = controlOf(GetFocus());
  switch (msg.wParam) {
    case VK_TAB: {
      if (ctrlOrAlt) return false;
      if (droppedDown(focus)) SendMessageA(focus, CB_SHOWDROPDOWN, FALSE, 0);
      HWND next = nextTabStop(focus ? focus : dialogScope(), (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      if (next && next != focus) {
        // Tabbing into a text box selects its text, as in a dialog.
        if (isClass(next, "Edit") && !(GetWindowLongA(next, GWL_STYLE) & ES_MULTILINE))
          SendMessageA(next, EM_SETSEL, 0, -1);
        SetFocus(next);
      }
      return true;
    }
    case VK_RETURN:
    case VK_ESCAPE:
      if (droppedDown(focus)) return false;  // the list closes first
      if (msg.wParam == VK_RETURN && focus && isClass(focus, "Button") && takesFocus(focus)) {
        press(focus);
        return true;
      }
      pressKey(static_cast<UINT>(msg.wParam));
      return true;
  }
  return false;
}

HWND Form::controlOf(HWND hwnd) const {
  while (hwnd && hwnd != hwnd_) {
    if (std::find(tabOrder_.begin(), tabOrder_.end(), hwnd) != tabOrder_.end()) return hwnd;
    hwnd = GetParent(hwnd);
  }
  return nullptr;
}

HWND Form::activeBox() const {
  for (auto it = openBoxes_.rbegin(); it != openBoxes_.rend(); ++it)
    if (IsWindowVisible(*it)) return *it;
  return nullptr;
}

// A control of the table that is shown and can be used, inside the open box
// if there is one, and not inside `leaving` (a container about to be hidden).
bool Form::takesFocus(HWND control, HWND leaving) const {
  if (!control || !IsWindowVisible(control)) return false;
  if (leaving && inside(leaving, control)) return false;
  for (HWND h = control; h && h != hwnd_; h = GetParent(h))
    if (!IsWindowEnabled(h)) return false;
  HWND box = activeBox();
  return !box || box == leaving || inside(box, control);
}

// The tab stop after (or before) `from` in reading order, going round. From a
// container, the first (or last) tab stop inside it, or anywhere if it has none.
HWND Form::nextTabStop(HWND from, bool backwards, HWND leaving) const {
  const int n = static_cast<int>(tabOrder_.size());
  if (n == 0) return nullptr;
  auto at = std::find(tabOrder_.begin(), tabOrder_.end(), from);
  if (at == tabOrder_.end()) {
    for (int i = 0; i < n; ++i) {
      HWND h = tabOrder_[backwards ? n - 1 - i : i];
      if (inside(from, h) && takesFocus(h, leaving)) return h;
    }
    for (int i = 0; i < n; ++i) {
      HWND h = tabOrder_[backwards ? n - 1 - i : i];
      if (takesFocus(h, leaving)) return h;
    }
    return nullptr;
  }
  const int start = static_cast<int>(at - tabOrder_.begin());
  for (int step = 1; step <= n; ++step) {
    HWND h = tabOrder_[((backwards ? start - step : start + step) % n + n) % n];
    if (takesFocus(h, leaving)) return h;
  }
  return nullptr;
}

// Gives the focus to `preferred` if it can take it, else to the first tab
// stop. While the form is not the active window the choice is kept for its
// activation instead: setting the focus would activate it.
void Form::moveFocus(HWND preferred, HWND leaving) {
  HWND target = takesFocus(preferred, leaving) ? preferred : nextTabStop(hwnd_, false, leaving);
  if (GetActiveWindow() != hwnd_) {
    savedFocus_ = target;
    return;
  }
  if (target && GetFocus() != target) SetFocus(target);
}

void Form::repairFocus() {
  if (GetActiveWindow() != hwnd_) return;
  HWND focus = GetFocus();
  if (focus && !ownsWindow(focus)) return;
  if (!takesFocus(controlOf(focus))) moveFocus(savedFocus_);
}

void Form::containerShown(HWND container, bool shown) {
  HWND focus = GetFocus();
  auto scope = scopes_.find(container);
  const bool box = scope != scopes_.end() && scope->second.box;
  std::erase(openBoxes_, container);
  if (shown) {
    if (focus && ownsWindow(focus) && !inside(container, focus)) openers_[container] = focus;
    if (box) {
      openBoxes_.push_back(container);
      // Once it can be seen: the box takes the focus.
      PostMessageA(hwnd_, kFocusBox, 0, reinterpret_cast<LPARAM>(container));
    }
    return;
  }
  // Still shown while this runs: the focus leaves before it disappears.
  if (inside(container, focus) || (savedFocus_ && inside(container, savedFocus_)))
    moveFocus(openers_[container], container);
}

bool Form::pressKey(UINT key) {
  HWND focus = GetFocus();
  for (HWND h = focus && ownsWindow(focus) ? focus : hwnd_;; h = GetParent(h)) {
    auto scope = scopes_.find(h);
    if (scope != scopes_.end()) {
      const Keys& keys = scope->second.keys;
      const std::string& name = key == VK_RETURN ? keys.defaultButton : keys.cancelButton;
      if (!name.empty()) {
        HWND button = handle(name);
        if (!takesFocus(button)) return false;
        press(button);
        return true;
      }
    }
    if (h == hwnd_) return false;
  }
}

void Form::press(HWND button) {
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

}  // namespace ui
