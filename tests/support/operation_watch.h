// A window whose operation waits on a held request, watched from the test's
// thread as a person would meet it: the window must answer a message within
// a second while the request is held; the progress box must open; a real
// click and key on the window must do nothing; then the person cancels, with
// Esc or a click on "Cancelar", and the box goes. The window runs on a thread
// of its own (real_input::UiThread).
//
// Closing a top-level window holds its thread for up to 2 s under Wine on a
// display without a window manager (Wine waits for one to confirm the window
// is gone), so the box's going is not timed.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/real_input.h"

namespace operation_watch {

inline std::string textOf(HWND hwnd) {
  char text[512];
  const int n = GetWindowTextA(hwnd, text, sizeof text);
  return std::string(text, n > 0 ? n : 0);
}

// The progress box `owner` shows, if any.
inline HWND progressBox(HWND owner) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "TFormProgresso", nullptr); w;
       w = FindWindowExA(nullptr, w, "TFormProgresso", nullptr))
    if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) return w;
  return nullptr;
}

// The controls of the box, at any depth, in the order they were made.
inline std::vector<HWND> controls(HWND box) {
  std::vector<HWND> found;
  EnumChildWindows(
      box,
      [](HWND c, LPARAM all) {
        reinterpret_cast<std::vector<HWND>*>(all)->push_back(c);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A control of the box by its text ("Cancelar"); its labels in order.
inline HWND childWithText(HWND box, const std::string& text) {
  for (HWND c : controls(box))
    if (textOf(c) == text) return c;
  return nullptr;
}
inline std::vector<std::string> labels(HWND box) {
  std::vector<std::string> texts;
  char cls[32];
  for (HWND c : controls(box))
    if (GetClassNameA(c, cls, sizeof cls) && lstrcmpiA(cls, "Static") == 0)
      texts.push_back(textOf(c));
  return texts;
}

// A control's click as the window gets it from the person, posted so the
// test's thread does not wait for the handler.
inline void postClick(HWND window, HWND control) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
}

struct Watched {
  bool alwaysAnswered = true;
  std::string silence;  // when it did not answer: the moment, for the report
  bool boxOpened = false;
  bool boxClosed = false;                // after the cancel
  std::vector<std::vector<std::string>> boxLabels;  // each time they changed
};

// Watches `window` for up to `seconds`: once the box is open and `ready`
// (given its labels) says so, clicks `idle` (a control of the window, which
// must do nothing) and presses a key there, then cancels: Esc on the window,
// or a real click on "Cancelar".
inline Watched watchAndCancel(HWND window, HWND idle, bool byEscape,
                              const std::function<bool(const std::vector<std::string>&)>& ready,
                              int seconds = 60) {
  Watched w;
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  bool cancelled = false;
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() < end) {
    if (!cancelled && !real_input::answers(window, 1000) && w.alwaysAnswered) {
      w.alwaysAnswered = false;
      w.silence = std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count()) +
                  " ms in, " + (w.boxOpened ? "the box open" : "before the box");
    }
    HWND box = progressBox(window);
    if (cancelled && !GetPropA(window, "QueltaAguardando")) {
      // The operation has ended; its thread may still be closing the box
      // (see above).
      real_input::answers(window, 5000);
      w.boxClosed = !progressBox(window);
      break;
    }
    if (box) {
      w.boxOpened = true;
      const std::vector<std::string> now = labels(box);
      if (w.boxLabels.empty() || w.boxLabels.back() != now) w.boxLabels.push_back(now);
      if (!cancelled && ready(now)) {
        real_input::click(idle);
        real_input::press('X');
        Sleep(200);
        if (byEscape) {
          real_input::press(VK_ESCAPE);
        } else {
          real_input::click(childWithText(box, "Cancelar"));
        }
        cancelled = true;
      }
    }
    Sleep(50);
  }
  return w;
}

}  // namespace operation_watch
