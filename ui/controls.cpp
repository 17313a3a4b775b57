#include "ui/controls.h"

#include <commctrl.h>

#include "ui/dpi.h"

namespace ui {

std::string Control::text() const {
  int n = GetWindowTextLengthA(hwnd_);
  std::string s(static_cast<size_t>(n) + 1, '\0');
  n = GetWindowTextA(hwnd_, s.data(), n + 1);
  s.resize(static_cast<size_t>(n));
  return s;
}

std::string shownText(std::string text) {
  for (char& c : text)
    if (c == '\0') c = ' ';
  return text;
}

void Control::setText(const std::string& text) {
  if (text.find('\0') == std::string::npos)
    SetWindowTextA(hwnd_, text.c_str());
  else
    SetWindowTextA(hwnd_, shownText(text).c_str());
}

void Control::show(bool visible) { ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE); }

bool Control::visible() const {
  return (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::enable(bool enabled) { EnableWindow(hwnd_, enabled); }

bool Control::enabled() const { return IsWindowEnabled(hwnd_) != 0; }

void Control::bringToFront() {
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Control::invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }

RECT Control::bounds() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// ---- Memo ----------------------------------------------------------------

void Memo::setLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += "\r\n";
    text += lines[i];
  }
  setText(text);
}

std::vector<std::string> Memo::lines() const {
  std::vector<std::string> out;
  std::string all = text(), line;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') {
      out.push_back(line);
      line.clear();
      ++i;
    } else {
      line += all[i];
    }
  }
  if (!all.empty()) out.push_back(line);
  return out;
}

void Memo::addLine(const std::string& line) {
  int end = GetWindowTextLengthA(hwnd());
  send(EM_SETSEL, end, end);
  std::string piece = (end > 0 ? "\r\n" : "") + line;
  send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
}

int Memo::lineCount() const { return static_cast<int>(lines().size()); }

void Memo::lineScroll(int lines) { send(EM_LINESCROLL, 0, lines); }

void Memo::scrollToEnd() { lineScroll(static_cast<int>(send(EM_GETLINECOUNT))); }

int Memo::firstVisibleLine() const { return static_cast<int>(send(EM_GETFIRSTVISIBLELINE)); }

// ---- ComboBox ------------------------------------------------------------

void ComboBox::setItems(const std::vector<std::string>& items) {
  send(CB_RESETCONTENT);
  for (const std::string& item : items) addItem(item);
}

void ComboBox::addItem(const std::string& item) {
  send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::vector<std::string> ComboBox::items() const {
  std::vector<std::string> out;
  int n = count();
  for (int i = 0; i < n; ++i) {
    int len = static_cast<int>(send(CB_GETLBTEXTLEN, i));
    std::string s(static_cast<size_t>(len) + 1, '\0');
    send(CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(len));
    out.push_back(s);
  }
  return out;
}

int ComboBox::count() const { return static_cast<int>(send(CB_GETCOUNT)); }

int ComboBox::selectedIndex() const { return static_cast<int>(send(CB_GETCURSEL)); }

void ComboBox::select(int index) { send(CB_SETCURSEL, index); }

std::string ComboBox::selectedText() const {
  int i = selectedIndex();
  if (i < 0) return "";
  return items()[static_cast<size_t>(i)];
}

// ---- ListView ------------------------------------------------------------

void ListView::addColumn(const std::string& title, int width) {
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = const_cast<char*>(title.c_str());
  col.cx = scaled(width);
  HWND header = reinterpret_cast<HWND>(send(LVM_GETHEADER));
  int n = header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  col.iSubItem = n;
  send(LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&col));
}

void ListView::clear() { send(LVM_DELETEALLITEMS); }

int ListView::addRow(const std::vector<std::string>& cells) {
  LVITEMA item{};
  item.mask = LVIF_TEXT;
  item.iItem = rowCount();
  item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
  int row = static_cast<int>(send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  for (size_t c = 1; c < cells.size(); ++c) setCell(row, static_cast<int>(c), cells[c]);
  return row;
}

int ListView::rowCount() const { return static_cast<int>(send(LVM_GETITEMCOUNT)); }

std::string ListView::cell(int row, int column) const {
  std::string buffer(1024, '\0');
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  int n = static_cast<int>(send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)));
  buffer.resize(static_cast<size_t>(n));
  return buffer;
}

void ListView::setCell(int row, int column, const std::string& text) {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  send(LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

int ListView::selectedIndex() const {
  return static_cast<int>(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListView::select(int row) {
  LVITEMA item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  send(LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void ListView::setRowHeight(int pixels) {
  // A report view takes its row height from the small image list, plus the
  // padding its common controls version adds; that padding is measured on a
  // scratch row and taken off, so rows come out exactly `pixels` high.
  pixels = scaled(pixels);
  int imageHeight = pixels;
  for (int attempt = 0; attempt < 2; ++attempt) {
    HIMAGELIST images = ImageList_Create(1, imageHeight, ILC_COLOR, 1, 1);
    auto old = reinterpret_cast<HIMAGELIST>(
        send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)));
    if (old) ImageList_Destroy(old);
    const bool scratch = rowCount() == 0;
    if (scratch) addRow({""});
    RECT row{};
    row.left = LVIR_BOUNDS;
    const bool measured = send(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row)) != 0;
    if (scratch) send(LVM_DELETEITEM, 0);
    const int padding = measured ? (row.bottom - row.top) - imageHeight : 0;
    if (padding <= 0 || pixels - padding < 1 || imageHeight == pixels - padding) break;
    imageHeight = pixels - padding;
  }
}

void ProgressBar::setPosition(int permille) {
  SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) & ~PBS_MARQUEE);
  send(PBM_SETRANGE32, 0, 1000);
  send(PBM_SETPOS, permille, 0);
}

void ProgressBar::setMoving() {
  if (GetWindowLongPtrA(hwnd(), GWL_STYLE) & PBS_MARQUEE) return;
  SetWindowLongPtrA(hwnd(), GWL_STYLE, GetWindowLongPtrA(hwnd(), GWL_STYLE) | PBS_MARQUEE);
  send(PBM_SETMARQUEE, TRUE, 50);
}

}  // namespace ui
