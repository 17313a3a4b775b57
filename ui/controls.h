// Thin typed wrappers over Win32 child controls. A wrapper holds the window
// handle without owning it: the parent destroys its children. Each method is
// one message to the control.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

// Text as a window can show it: Win32 ends a window's text at the first NUL,
// so a NUL in a log line or an error message becomes a blank instead.
std::string shownText(std::string text);

class Control {
 public:
  Control() = default;
  explicit Control(HWND hwnd) : hwnd_(hwnd) {}

  HWND hwnd() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  std::string text() const;
  void setText(const std::string& text);
  void show(bool visible = true);
  void hide() { show(false); }
  bool visible() const;  // the control's own visibility flag
  void enable(bool enabled = true);
  bool enabled() const;
  void bringToFront();
  void invalidate();    // painted again with the next WM_PAINT
  RECT bounds() const;  // in the parent's client coordinates

 protected:
  LRESULT send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const {
    return SendMessageA(hwnd_, msg, wp, lp);
  }

 private:
  HWND hwnd_ = nullptr;
};

class Memo : public Control {
 public:
  using Control::Control;
  void setLines(const std::vector<std::string>& lines);
  std::vector<std::string> lines() const;
  void addLine(const std::string& line);
  void clear() { setText(""); }
  int lineCount() const;
  void lineScroll(int lines);  // EM_LINESCROLL
  // Scrolls down by as many lines as the control holds, bringing the end
  // into view without reading its text back.
  void scrollToEnd();
  int firstVisibleLine() const;
};

// A drop-down list: no free text, its text is the selected item's.
class ComboBox : public Control {
 public:
  using Control::Control;
  void setItems(const std::vector<std::string>& items);
  void addItem(const std::string& item);
  std::vector<std::string> items() const;
  int count() const;
  int selectedIndex() const;
  void select(int index);  // -1 clears the selection
  std::string selectedText() const;
};

class ListView : public Control {
 public:
  using Control::Control;
  // Widths and heights in 96-DPI pixels, scaled to the screen.
  void addColumn(const std::string& title, int width);
  void clear();
  int addRow(const std::vector<std::string>& cells);  // appended at the end
  int rowCount() const;
  std::string cell(int row, int column) const;
  void setCell(int row, int column, const std::string& text);
  int selectedIndex() const;
  // Selecting a row sends LVN_ITEMCHANGED, as a click does.
  void select(int row);
  void setRowHeight(int pixels);
};

class ProgressBar : public Control {
 public:
  using Control::Control;
  // Filled to `permille` thousandths.
  void setPosition(int permille);
  // A block that keeps moving: how far is not known.
  void setMoving();
};

}  // namespace ui
