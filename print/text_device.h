// Text written to a Windows printer line by line, as to a text file: the
// layout that turns lines of text into positions on the printer canvas.
//
// Text starts at the top-left corner of the printable area. A line end
// advances by the tallest text drawn on that line plus 2 device units, or
// by the font's character height when nothing was drawn; a line wider than
// the page continues on the next line, broken at the last character that
// fits; a new page begins when the next line would come closer to the
// bottom than two line heights. A tab advances to the next multiple of
// eight average character widths, a form feed starts a new page, a
// carriage return is ignored and a line feed ends the line.
#pragma once

#include <string>

#include "platform/printer_canvas.h"

namespace print {

class TextDevice {
 public:
  explicit TextDevice(platform::PrinterCanvas& canvas) : canvas_(canvas) {}

  void write(const std::string& text);
  void writeLine(const std::string& text) {
    write(text);
    lineEnd();
  }
  void lineEnd();
  void newPage();

  int x() const { return x_; }
  int y() const { return y_; }

 private:
  void drawRun(std::string run);
  size_t fittingLength(const std::string& run, int room);

  platform::PrinterCanvas& canvas_;
  int x_ = 0;
  int y_ = 0;
  int tallest_ = 0;
  bool drew_ = false;
};

}  // namespace print
