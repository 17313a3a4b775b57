// One tool at a time on the computer: two windows, also of two users logged
// on at once, would load the same tables, and the second "Salvar" would
// silently drop the first one's edits. A second start brings the running
// window to the front and ends.
#pragma once

#include <windows.h>

namespace app {

// A "Global\\" name is the computer's, whichever user is logged on.
inline constexpr char kInstanceName[] = "Global\\QueltaConfiguracao";

// Told when the running tool is another user's, whose window this start
// cannot bring to the front.
inline constexpr char kRunningElsewhere[] =
    "A Quelta Configura\xe7\xe3o j\xe1 est\xe1 aberta neste computador, por outro usu\xe1rio. "
    "Feche-a l\xe1 antes de abrir aqui.";

class SingleInstance {
 public:
  explicit SingleInstance(const char* name = kInstanceName);
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  // False when a tool already held the name: this start is the second. A
  // name that exists but cannot be opened (another user's tool, started
  // with an administrator's token) or that cannot be made at all counts as
  // held: better no second tool than two.
  bool first() const { return first_; }
  // The name is held where this start cannot reach it: another user's tool.
  bool elsewhere() const { return mutex_ == nullptr; }

  // Restores and raises the top-level window of that class; false when
  // there is none (the running tool has not made its window yet).
  static bool bringToFront(const char* windowClass);

 private:
  HANDLE mutex_;
  bool first_;
};

}  // namespace app
