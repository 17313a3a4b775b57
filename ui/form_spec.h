// A window described as data, the way a form file describes one: the form
// and the table of its controls (kind, name, parent, caption, position and
// size). Plain data with no window in it, so portable code can read the
// tables too.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace ui {

enum class Kind {
  Panel,  // framed container without caption
  Group,  // framed container with a caption
  Label,
  Button,
  Edit,
  PasswordEdit,
  Memo,         // read-only multi-line text with a vertical scroll bar
  Listing,      // a Memo whose lines never wrap: a horizontal scroll bar too
  ComboList,    // drop-down list; height is the dropped-down height
  ListView,     // report view, whole-row selection, headers not clickable
  PageControl,  // tabs; its pages are the Page entries naming it as parent
  Page,
  PaintBox,     // an area the form draws itself (onPaint)
  ProgressBar,  // how far an operation is
};

// Positions and sizes are 96-DPI pixels; the form scales them to the screen.
struct ControlSpec {
  Kind kind;
  const char* name;
  const char* parent;  // "" for the form itself
  const char* caption;
  int x, y, width, height;
  bool visible = true;
};

enum class Frame {
  Main,    // caption, system menu and minimise box; fixed size
  Dialog,  // caption and system menu in a dialog frame
  Popup,   // a double edge, no caption, never activated: a box that names itself inside
};

struct FormSpec {
  const char* className;
  const char* caption;
  int clientWidth, clientHeight;
  Frame frame;
};

// The positions in `controls` in the order a person reads them, which is the
// order Tab follows: each container's controls row by row, top to bottom and
// left to right, each container's controls right after the container. Tops
// a few pixels apart make one row (an edit beside a label a little lower);
// controls at the same place keep the table's order.
std::vector<size_t> readingOrder(std::span<const ControlSpec> controls);

}  // namespace ui
