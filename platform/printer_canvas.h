// The graphics canvas of one print job on an installed Windows printer, in
// the printer's device units.
#pragma once

#include <string>

namespace platform {

struct TextExtent {
  int width = 0;
  int height = 0;
};

struct PageSize {
  int width = 0;   // printable width
  int height = 0;  // printable height
};

class PrinterCanvas {
 public:
  // Destroying a canvas whose document was begun but not ended aborts the
  // job, so an error half-way never leaves a job open in the spooler.
  virtual ~PrinterCanvas() = default;

  virtual void beginDoc(const std::string& title) = 0;
  // The font by point size, bold or plain, in the canvas's own typeface.
  virtual void setFont(int pointSize, bool bold) = 0;
  virtual TextExtent textExtent(const std::string& text) = 0;
  // The current font's character height.
  virtual int textHeight() = 0;
  virtual int averageCharWidth() = 0;
  virtual void drawText(int x, int y, const std::string& text) = 0;
  virtual PageSize pageSize() = 0;
  virtual void newPage() = 0;
  // Ejects the last page and hands the job to the spooler.
  virtual void endDoc() = 0;
  virtual void abort() = 0;
};

}  // namespace platform
