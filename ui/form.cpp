// A form built from its control table: creation, lookup by name, handler
// binding, and the window procedure that routes messages to the handlers.
#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "platform/error.h"
#include "ui/cursor.h"
#include "ui/dpi.h"
#include "ui/form_internal.h"
#include "ui/form_messages.h"
#include "ui/prompts.h"

namespace ui {

HINSTANCE appInstance = nullptr;

void registerClass(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc{};
  if (GetClassInfoExA(appInstance, name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = appInstance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIcon(appInstance, MAKEINTRESOURCE(1));
  wc.lpszClassName = name;
  RegisterClassExA(&wc);
}

namespace {

DWORD frameStyle(Frame frame) {
  switch (frame) {
    case Frame::Main:
      return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case Frame::Dialog:
      return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case Frame::Popup:
      return WS_POPUP | WS_DLGFRAME;
  }
  return WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
}

}  // namespace

void initialise(HINSTANCE instance) {
  appInstance = instance;
  INITCOMMONCONTROLSEX icc{sizeof icc,
                           ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES |
                               ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  registerClass(kPanelClass, panelProc);
}

Form::Form() = default;

Form::~Form() {
  for (auto& [id, handler] : timers_) KillTimer(hwnd_, id);
  if (hwnd_ && IsWindow(hwnd_)) {
    dropPostedWork();
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  if (font_) DeleteObject(font_);
}

void Form::create(const FormSpec& spec, std::initializer_list<std::span<const ControlSpec>> tables,
                  HWND owner) {
  if (!appInstance) initialise(GetModuleHandleA(nullptr));
  registerClass(spec.className, windowProc);
  if (!owner) owner = applicationHwnd;
  className_ = spec.className;
  const DWORD style = frameStyle(spec.frame);
  // A popup never takes the activation, and its double edge sets it off
  // from the window it lies over.
  const DWORD exStyle = WS_EX_CONTROLPARENT |
                        (spec.frame == Frame::Popup ? WS_EX_NOACTIVATE | WS_EX_DLGMODALFRAME : 0);
  RECT r{0, 0, scaled(spec.clientWidth), scaled(spec.clientHeight)};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  hwnd_ = CreateWindowExA(exStyle, spec.className, spec.caption, style, CW_USEDEFAULT,
                          CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, owner, nullptr,
                          appInstance, this);
  if (owner && owner == applicationHwnd && !mainFormHwnd) mainFormHwnd = hwnd_;

  font_ = CreateFontA(-MulDiv(8, systemDpi(), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");

  for (std::span<const ControlSpec> table : tables)
    specs_.insert(specs_.end(), table.begin(), table.end());
  int id = 100;
  for (const ControlSpec& c : specs_) {
    if (entries_.contains(c.name)) throw DuplicateControl(className_, c.name);
    createControl(c, id++);
  }
  // Tab goes in reading order, whichever table declared a control.
  std::map<HWND, size_t> place;
  size_t next = 0;
  for (size_t i : readingOrder(specs_)) place[handle(specs_[i].name)] = next++;
  std::ranges::sort(tabOrder_, {}, [&](HWND control) { return place[control]; });
}

const Form::Entry& Form::entry(const std::string& name) const {
  auto it = entries_.find(name);
  if (it == entries_.end()) throw UnknownControl(className_, name);
  return it->second;
}

HWND Form::handle(const std::string& name) const { return entry(name).hwnd; }

Control Form::control(const std::string& name) const { return Control(handle(name)); }

void Form::show() {
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void Form::close() {
  if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void Form::onClick(const std::string& name, Handler handler) {
  entry(name);
  clicks_[name] = std::move(handler);
}

void Form::onChange(const std::string& name, Handler handler) {
  entry(name);
  changes_[name] = std::move(handler);
}

void Form::onSelectItem(const std::string& name, std::function<void(int, bool)> handler) {
  entry(name);
  selects_[name] = std::move(handler);
}

void Form::onEditing(const std::string& name, std::function<bool()> allowEdit) {
  entry(name);
  editing_[name] = std::move(allowEdit);
}

void Form::onTimer(int intervalMs, Handler handler) {
  UINT_PTR id = timers_.size() + 1;
  timers_[id] = std::move(handler);
  SetTimer(hwnd_, id, static_cast<UINT>(intervalMs), nullptr);
}

void Form::onPaint(const std::string& name, PaintHandler handler) {
  entry(name);
  painters_[name] = std::move(handler);
}

void Form::click(const std::string& name) {
  const Entry& control = entry(name);
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(control.id, BN_CLICKED),
               reinterpret_cast<LPARAM>(control.hwnd));
}

void Form::notifyChange(const std::string& name) {
  const Entry& control = entry(name);
  WORD code = control.kind == Kind::ComboList ? CBN_SELCHANGE : EN_CHANGE;
  SendMessageA(hwnd_, WM_COMMAND, MAKEWPARAM(control.id, code),
               reinterpret_cast<LPARAM>(control.hwnd));
}

void Form::postTo(HWND window, Handler work) {
  auto* message = new Handler(std::move(work));
  if (!window || !PostMessageA(window, kPostedWork, 0, reinterpret_cast<LPARAM>(message)))
    delete message;
}

void Form::runPostedWork() {
  MSG msg;
  while (hwnd_ && PeekMessageA(&msg, hwnd_, kPostedWork, kPostedWork, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    std::unique_ptr<Handler> work(reinterpret_cast<Handler*>(msg.lParam));
    guarded(*work);
  }
}

void Form::dropPostedWork() {
  MSG msg;
  while (PeekMessageA(&msg, hwnd_, kPostedWork, kPostedWork, PM_REMOVE)) {
    // The quit comes whatever the filter, and only once nothing else is
    // queued; it must still end the message loop.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    delete reinterpret_cast<Handler*>(msg.lParam);
  }
}

void Form::fireTimers() {
  for (auto& [id, handler] : timers_) guarded(handler);
}

void Form::guarded(const Handler& handler) {
  try {
    handler();
  } catch (const quelta::Error& e) {
    if (quelta::isAbort(e)) return;  // cancelled: nothing to say
    prompts().showError(errorBoxText(e.boxText()));
  } catch (const std::exception& e) {
    prompts().showError(errorBoxText(e.what()));
  }
}

void Form::centreOnScreen() {
  RECT r;
  GetWindowRect(hwnd_, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  int left = (GetSystemMetrics(SM_CXSCREEN) - w) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::setCaption(const std::string& caption) { SetWindowTextA(hwnd_, caption.c_str()); }

std::string Form::caption() const { return Control(hwnd_).text(); }

void Form::dispatchCommand(int id, int code) {
  auto name = names_.find(id);
  if (name == names_.end()) return;
  if (code == BN_CLICKED) {
    auto it = clicks_.find(name->second);
    if (it != clicks_.end()) guarded(it->second);
  } else if (code == CBN_SELCHANGE || code == EN_CHANGE) {
    auto it = changes_.find(name->second);
    if (it != changes_.end()) guarded(it->second);
  }
}

LRESULT Form::dispatchNotify(NMHDR* header) {
  auto name = names_.find(static_cast<int>(header->idFrom));
  if (name == names_.end()) return 0;
  switch (header->code) {
    case LVN_ITEMCHANGED: {
      auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
      if (nm->iItem < 0 || !(nm->uChanged & LVIF_STATE)) return 0;
      if (!((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED)) return 0;
      auto it = selects_.find(name->second);
      if (it == selects_.end()) return 0;
      bool selected = (nm->uNewState & LVIS_SELECTED) != 0;
      int row = nm->iItem;
      auto handler = it->second;
      guarded([&] { handler(row, selected); });
      return 0;
    }
    case LVN_BEGINLABELEDITA:
    case LVN_BEGINLABELEDITW: {
      auto it = editing_.find(name->second);
      bool allow = true;
      if (it != editing_.end()) guarded([&] { allow = it->second(); });
      return allow ? FALSE : TRUE;
    }
    case TCN_SELCHANGE:
      selectPage(header->hwndFrom);
      return 0;
  }
  return 0;
}

void Form::dispatchPaint(HWND box, HDC dc) {
  auto name = names_.find(GetDlgCtrlID(box));
  if (name == names_.end()) return;
  auto it = painters_.find(name->second);
  if (it == painters_.end()) return;
  RECT area;
  GetClientRect(box, &area);
  guarded([&] { it->second(dc, area); });
}

void Form::selectPage(HWND pageControl) {
  int current = static_cast<int>(SendMessageA(pageControl, TCM_GETCURSEL, 0, 0));
  auto& pages = pages_[pageControl];
  for (size_t i = 0; i < pages.size(); ++i)
    ShowWindow(pages[i], static_cast<int>(i) == current ? SW_SHOW : SW_HIDE);
}

LRESULT CALLBACK Form::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* form = static_cast<Form*>(cs->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcA(hwnd, msg, wp, lp);
  return form->handleMessage(msg, wp, lp);
}

LRESULT Form::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      // The dialog manager's Esc and Enter, where they reach the form.
      if ((LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) && lp == 0) {
        pressKey(LOWORD(wp) == IDOK ? VK_RETURN : VK_ESCAPE);
        return 0;
      }
      dispatchCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case kContainerShown:
      containerShown(reinterpret_cast<HWND>(lp), wp != 0);
      return 0;
    case kFocusBox: {
      HWND box = reinterpret_cast<HWND>(lp);
      if (box == activeBox() && !IsChild(box, GetFocus())) moveFocus(nextTabStop(box, false));
      return 0;
    }
    case WM_SETFOCUS:
      // The form itself holds no focus: it goes on to a control.
      moveFocus(savedFocus_);
      return 0;
    case WM_NOTIFY:
      return dispatchNotify(reinterpret_cast<NMHDR*>(lp));
    case kPaintBox:
      dispatchPaint(reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp));
      return 0;
    case WM_TIMER: {
      auto it = timers_.find(wp);
      if (it != timers_.end()) guarded(it->second);
      return 0;
    }
    case WM_ACTIVATE:
      // The focus is kept while another window is active, and comes back
      // with the activation, as a dialog's does.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && focus != hwnd_ && IsChild(hwnd_, focus)) savedFocus_ = focus;
        return 0;
      }
      if (!HIWORD(wp)) moveFocus(savedFocus_);
      // The handler may open boxes; it runs once the activation is over.
      if (activateHandler_) PostMessageA(hwnd_, kRunActivate, 0, 0);
      return 0;
    case kRunActivate:
      if (activateHandler_ && !activating_) {
        activating_ = true;
        guarded(activateHandler_);
        activating_ = false;
      }
      return 0;
    case WM_SETCURSOR:
      if (isBusy()) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE && applicationHwnd &&
          GetWindow(hwnd_, GW_OWNER) == applicationHwnd) {
        SendMessageA(applicationHwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (!closeQuery()) return 0;
      // The owner is enabled before a modal window goes, so the activation
      // passes back to it rather than to another program's window.
      if (modalOwner_) EnableWindow(modalOwner_, TRUE);
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      onDestroyed();
      dropPostedWork();
      break;
    case kPostedWork: {
      std::unique_ptr<Handler> work(reinterpret_cast<Handler*>(lp));
      guarded(*work);
      return 0;
    }
    case WM_NCDESTROY: {
      if (hwnd_ == mainFormHwnd) mainFormHwnd = nullptr;
      LRESULT result = DefWindowProcA(hwnd_, msg, wp, lp);
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return result;
    }
  }
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

}  // namespace ui
