// The application title: the task bar text, every box's caption, and the
// start of the main window's caption.
#pragma once

namespace app {

inline constexpr char kTitle[] = "Quelta Configura\xe7\xe3o";

}  // namespace app
