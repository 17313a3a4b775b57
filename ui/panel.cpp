// The panel class behind every container of a table (panel, group box, page)
// and every paint box: it draws its frame or caption, or asks the form to
// paint it, and passes its controls' notifications on to the form.
#include "ui/dpi.h"
#include "ui/form_internal.h"
#include "ui/form_messages.h"

namespace ui {
namespace {

void paintPanel(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  LONG_PTR look = GetWindowLongPtrA(hwnd, GWLP_USERDATA);
  RECT r;
  GetClientRect(hwnd, &r);
  if (look == kPainted) {
    SendMessageA(GetAncestor(hwnd, GA_ROOT), kPaintBox, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(hwnd));
  } else if (look == kFramed) {
    DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  } else if (look == kGroup) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    char caption[256];
    int n = GetWindowTextA(hwnd, caption, sizeof caption);
    SIZE extent{0, 0};
    GetTextExtentPoint32A(dc, "Mg", 2, &extent);
    RECT frame = r;
    frame.top += extent.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (n > 0) {
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      TextOutA(dc, scaled(8), 0, caption, n);
    }
    SelectObject(dc, old);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

// Panels hold controls but own no behaviour: notifications go on to the
// top-level form, where the handlers are.
LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
      return SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case WM_PAINT:
      paintPanel(hwnd);
      return 0;
    case WM_SHOWWINDOW:
      // Before the container appears or disappears: the form keeps the focus
      // out of what is about to be hidden.
      if (lp == 0)
        SendMessageA(GetAncestor(hwnd, GA_ROOT), kContainerShown, wp,
                     reinterpret_cast<LPARAM>(hwnd));
      break;
    case WM_SETFONT:
      SetPropA(hwnd, "font", reinterpret_cast<HANDLE>(wp));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(GetPropA(hwnd, "font"));
    case WM_SETTEXT: {
      LRESULT result = DefWindowProcA(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemovePropA(hwnd, "font");
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace ui
