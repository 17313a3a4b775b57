// Real mouse and key input for window tests: SendInput on the test display,
// as a person's hands give it. The input goes to the foreground window's
// thread, which must not be the caller's: the window runs its own message
// loop on a thread of its own (UiThread), and the test reads the focus back
// and asks whether the window still answers, so a window that hangs fails
// the test instead of hanging it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace real_input {

inline void send(INPUT input) { SendInput(1, &input, sizeof input); }

inline void key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  send(in);
}

// A key pressed and let go, with Shift held when asked.
inline void press(WORD vk, bool shift = false) {
  if (shift) key(VK_SHIFT, false);
  key(vk, false);
  key(vk, true);
  if (shift) key(VK_SHIFT, true);
}

// A character typed on the keyboard.
inline void type(char c) {
  SHORT scan = VkKeyScanA(c);
  press(static_cast<WORD>(LOBYTE(scan)), (HIBYTE(scan) & 1) != 0);
}

// Button releases sent, and those the window's thread has taken (see
// UiThread::settles).
inline std::atomic<long> releasesSent{0}, releasesTaken{0};

// A left click at a point of the screen. The pointer is moved first and
// the click waits until the move has landed (Wine moves it through the X
// server); each button event carries the point as well.
inline void clickAt(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = static_cast<LONG>((x * 65535LL + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((y * 65535LL + h / 2) / (h - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  send(in);
  for (int i = 0; i < 100; ++i) {
    POINT at{};
    GetCursorPos(&at);
    if (std::abs(at.x - x) <= 1 && std::abs(at.y - y) <= 1) break;
    Sleep(5);
  }
  for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    in.mi.dwFlags = MOUSEEVENTF_MOVE | button | MOUSEEVENTF_ABSOLUTE;
    send(in);
  }
  ++releasesSent;
}

// A left click in the middle of a window.
inline void click(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  clickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Whether the window's thread handles a message within `ms`.
inline bool answers(HWND hwnd, unsigned ms = 1000) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

// The keyboard focus of a thread.
inline HWND focusOf(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The marker key: pressed after a step, it reaches the window's thread
// after the keys the step sent, and the thread's message hook reports it
// when the thread takes it, so the step has been handled by then. Mouse
// input may come later than keys (Wine passes it through the X server), so
// the hook counts the button releases the thread takes as well, and the
// marker waits for the step's clicks.
const WORD kMarker = VK_F24;

inline HANDLE& markerSeen() {
  static HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  return event;
}

inline LRESULT CALLBACK watchMarker(int code, WPARAM remove, LPARAM lp) {
  const MSG& msg = *reinterpret_cast<const MSG*>(lp);
  if (code == HC_ACTION && remove == PM_REMOVE) {
    if (msg.message == WM_KEYUP && msg.wParam == kMarker) SetEvent(markerSeen());
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) ++releasesTaken;
  }
  return CallNextHookEx(nullptr, code, remove, lp);
}

// A window on a thread of its own. `body` runs there: it creates the window,
// hands its handle to `ready`, runs the program's message loop and destroys
// the window. Closing it ends the body; a window that no longer answers, or
// whose thread does not end once it is closed, is left behind and fails the
// test (the process ends the thread).
class UiThread {
 public:
  using Body = std::function<void(const std::function<void(HWND)>& ready)>;
  explicit UiThread(Body body) {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ended_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this, ready, body = std::move(body)] {
      id_ = GetCurrentThreadId();
      body([&](HWND hwnd) {
        hwnd_ = hwnd;
        SetForegroundWindow(hwnd);
        SetEvent(ready);
      });
      SetEvent(ended_);
    });
    WaitForSingleObject(ready, 30000);
    CloseHandle(ready);
    releasesTaken = releasesSent.load();
    hook_ = SetWindowsHookExA(WH_GETMESSAGE, watchMarker, nullptr, id_);
  }
  ~UiThread() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (IsWindow(hwnd_) && !answers(hwnd_, 5000)) {
      thread_.detach();
      return;
    }
    if (IsWindow(hwnd_)) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(ended_, 30000) == WAIT_OBJECT_0) {
      thread_.join();
    } else {
      ADD_FAILURE() << "the window's thread did not end within 30 s of closing the window";
      thread_.detach();
    }
  }
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  HWND hwnd() const { return hwnd_; }
  HWND focus() const { return focusOf(id_); }

  // Whether the window's thread has handled all input sent so far within
  // `ms` and still answers.
  bool settles(unsigned ms = 1000) {
    // A click that lands outside the thread's windows is never taken: after
    // `ms` the count starts afresh, and the marker decides.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (releasesTaken < releasesSent && std::chrono::steady_clock::now() < end) Sleep(5);
    releasesTaken = releasesSent.load();
    // A marker sent to a window that closes meanwhile is lost with the
    // window's queued input: a second one goes to the window now in front.
    for (int tries = 0; tries < 2; ++tries) {
      ResetEvent(markerSeen());
      press(kMarker);
      if (WaitForSingleObject(markerSeen(), ms) == WAIT_OBJECT_0) return answers(hwnd_, ms) && idle();
      if (!answers(hwnd_, ms)) return false;
    }
    return false;
  }

  // A step that started an operation has been handled once the operation
  // has ended: the window takes the marker, like any key, while it waits,
  // and drops it. It answers meanwhile.
  bool idle(int seconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (GetPropA(hwnd_, "QueltaAguardando")) {
      if (std::chrono::steady_clock::now() > end || !answers(hwnd_, 1000)) return false;
      Sleep(20);
    }
    return true;
  }

 private:
  DWORD id_ = 0;
  HWND hwnd_ = nullptr;
  HANDLE ended_ = nullptr;  // never closed: a thread left behind may still set it
  HHOOK hook_ = nullptr;
  std::thread thread_;
};

}  // namespace real_input
