#include "ui/dpi.h"

#include <windows.h>

namespace ui {

int systemDpi() {
  // The system DPI is fixed for the life of the process.
  static const int dpi = [] {
    HDC dc = GetDC(nullptr);
    int value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int scaled(int pixels) { return MulDiv(pixels, systemDpi(), 96); }

}  // namespace ui
