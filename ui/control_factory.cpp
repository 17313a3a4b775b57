// The control factory: one child window of the right class and style for
// each kind of control in a form's table, at its place scaled to the screen.
#include <windows.h>
// The common controls' header needs the one above first.
#include <commctrl.h>

#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/form_internal.h"

namespace ui {

void Form::createControl(const ControlSpec& c, int id) {
  HWND parent = hwnd_;
  if (c.parent && *c.parent) parent = handle(c.parent);
  // Clipped by their siblings, so a control never paints over a box laid
  // above it.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (c.visible ? WS_VISIBLE : 0);
  DWORD exStyle = 0;
  const char* cls = "STATIC";
  int x = scaled(c.x), y = scaled(c.y), w = scaled(c.width), h = scaled(c.height);
  HWND pageControl = nullptr;
  switch (c.kind) {
    case Kind::Panel:
    case Kind::Group:
    case Kind::Page:
    case Kind::PaintBox:
      cls = kPanelClass;
      style |= WS_CLIPCHILDREN;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case Kind::Label:
      style |= SS_LEFT | SS_NOPREFIX;
      break;
    case Kind::Button:
      cls = "BUTTON";
      style |= BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case Kind::Edit:
    case Kind::PasswordEdit:
      cls = "EDIT";
      style |= ES_AUTOHSCROLL | WS_TABSTOP | (c.kind == Kind::PasswordEdit ? ES_PASSWORD : 0);
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::Memo:
    case Kind::Listing:
      cls = "EDIT";
      style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
      if (c.kind == Kind::Listing) style |= WS_HSCROLL | ES_AUTOHSCROLL;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::ComboList:
      cls = "COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      break;
    case Kind::ListView:
      cls = WC_LISTVIEWA;
      style |= LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_TABSTOP;
      exStyle |= WS_EX_CLIENTEDGE;
      break;
    case Kind::PageControl:
      cls = WC_TABCONTROLA;
      style |= WS_TABSTOP;
      break;
    case Kind::ProgressBar:
      cls = PROGRESS_CLASSA;
      style |= PBS_SMOOTH;
      break;
  }
  if (c.kind == Kind::Page) {
    // Pages are siblings laid over their page control's display area, so
    // that their controls' notifications reach the form like any other.
    pageControl = parent;
    parent = GetParent(pageControl);
    TCITEMA tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<char*>(c.caption);
    int index = static_cast<int>(SendMessageA(pageControl, TCM_GETITEMCOUNT, 0, 0));
    SendMessageA(pageControl, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&tab));
    RECT area;
    GetWindowRect(pageControl, &area);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(pageControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    x = area.left;
    y = area.top;
    w = area.right - area.left;
    h = area.bottom - area.top;
    if (index > 0) style &= ~WS_VISIBLE;
  }
  HWND hwnd =
      CreateWindowExA(exStyle, cls, c.caption, style, x, y, w, h, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), appInstance, nullptr);
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  if (c.kind == Kind::Panel) SetWindowLongPtrA(hwnd, GWLP_USERDATA, kFramed);
  if (c.kind == Kind::Group) SetWindowLongPtrA(hwnd, GWLP_USERDATA, kGroup);
  if (c.kind == Kind::PaintBox) SetWindowLongPtrA(hwnd, GWLP_USERDATA, kPainted);
  if (c.kind == Kind::PasswordEdit) SendMessageA(hwnd, EM_SETPASSWORDCHAR, '*', 0);
  if (c.kind == Kind::ListView)
    SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (c.kind == Kind::Page) {
    pages_[pageControl].push_back(hwnd);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  entries_[c.name] = Entry{c.kind, hwnd, id};
  names_[id] = c.name;
  if (style & WS_TABSTOP) tabOrder_.push_back(hwnd);
}

}  // namespace ui
