// The screen's scaling. Sizes in the form tables and in the code that lays
// out controls are those of a 96-DPI screen; on a screen scaled to 125 % or
// 150 % (120 or 144 DPI) the font grows, and so must every window, control,
// column and row, or captions are clipped.
#pragma once

namespace ui {

// The system's logical pixels per inch (96 on an unscaled screen).
int systemDpi();

// A 96-DPI size in pixels of this screen.
int scaled(int pixels);

}  // namespace ui
