#include "print/text_device.h"

namespace print {

void TextDevice::write(const std::string& text) {
  std::string run;
  for (char c : text) {
    switch (c) {
      case '\t': {
        drawRun(std::move(run));
        run.clear();
        int tab = 8 * canvas_.averageCharWidth();
        if (tab <= 0) tab = 8;
        x_ = (x_ / tab + 1) * tab;
        if (x_ > canvas_.pageSize().width) lineEnd();
        break;
      }
      case '\r':
        drawRun(std::move(run));
        run.clear();
        break;
      case '\n':
        drawRun(std::move(run));
        run.clear();
        lineEnd();
        break;
      case '\f':
        drawRun(std::move(run));
        run.clear();
        newPage();
        break;
      default:
        run += c;
    }
  }
  drawRun(std::move(run));
}

void TextDevice::lineEnd() {
  int advance = drew_ ? tallest_ + 2 : canvas_.textHeight();
  x_ = 0;
  y_ += advance;
  tallest_ = 0;
  drew_ = false;
  if (canvas_.pageSize().height - y_ < 2 * advance) newPage();
}

void TextDevice::newPage() {
  canvas_.newPage();
  x_ = 0;
  y_ = 0;
  tallest_ = 0;
  drew_ = false;
}

// The longest prefix of the run that fits into `room` device units. Text
// extents grow with the length, so a binary search finds it in a few
// measurements even for a very long line.
size_t TextDevice::fittingLength(const std::string& run, int room) {
  size_t low = 0, high = run.size();
  while (low < high) {
    size_t mid = (low + high + 1) / 2;
    if (canvas_.textExtent(run.substr(0, mid)).width <= room)
      low = mid;
    else
      high = mid - 1;
  }
  return low;
}

void TextDevice::drawRun(std::string run) {
  size_t start = 0;
  while (start < run.size()) {
    std::string rest = run.substr(start);
    int width = canvas_.pageSize().width;
    platform::TextExtent extent = canvas_.textExtent(rest);
    size_t length = rest.size();
    if (x_ + extent.width > width) {
      length = fittingLength(rest, width - x_);
      if (length == 0) {
        if (x_ > 0) {
          // Nothing fits behind what the line holds: go on at the left edge.
          lineEnd();
          continue;
        }
        // Not even one character fits the page: print it anyway rather
        // than feeding empty lines forever.
        length = 1;
      }
      extent = canvas_.textExtent(rest.substr(0, length));
    }
    canvas_.drawText(x_, y_, rest.substr(0, length));
    drew_ = true;
    if (extent.height > tallest_) tallest_ = extent.height;
    start += length;
    if (start < run.size())
      lineEnd();
    else
      x_ += extent.width;
  }
}

}  // namespace print
