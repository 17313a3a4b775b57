// One tool at a time for the user logged on: two windows would load the same
// tables, and the second "Salvar" would silently drop the first one's edits.
// A second start brings the running window to the front and ends.
#pragma once

#include <windows.h>

namespace app {

// A "Local\\" name belongs to the user's logon: another user logged on at
// the same computer runs a tool of their own.
inline constexpr char kInstanceName[] = "Local\\QueltaConfiguracao";

class SingleInstance {
 public:
  explicit SingleInstance(const char* name = kInstanceName);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when a tool already held the name: this start is the second.
  bool first() const { return first_; }

  // Restores and raises the top-level window of that class; false when
  // there is none (the running tool has not made its window yet).
  static bool bringToFront(const char* windowClass);

 private:
  HANDLE mutex_;
  bool first_;
};

}  // namespace app
