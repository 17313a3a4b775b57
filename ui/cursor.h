// The application-wide hourglass. Long operations hold a BusyCursor; the
// start-up hourglass is set and cleared explicitly, because it spans from
// the window's creation to the end of its first activation.
#pragma once

namespace ui {

void setBusy(bool busy);
bool isBusy();

class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  bool wasBusy_;
};

}  // namespace ui
