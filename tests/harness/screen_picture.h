// Pictures of what the screen shows, saved as PNG files, for the demo's screenshots.
#pragma once

#include <windows.h>

namespace harness {

// Saves what the screen shows inside `rect`, frames and all, as a PNG file.
bool SaveScreen(RECT rect, const char* path);

// A window's rectangle on the screen, grown by `margin` on every side.
RECT Around(HWND window, int margin);

}  // namespace harness
