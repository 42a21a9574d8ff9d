// A text window for the keyboard plug-in's demo: a shown top-level window that takes the keyboard
// focus, collects the characters typed into it and, when asked, prints every key message it gets.
#pragma once

#include <windows.h>

namespace standins {

inline constexpr char kTextWindowClass[] = "KeyboardTextStandIn";

// Runs the window on the calling thread until WM_QUIT; prints its handle first and the typed text
// last.
int RunTextWindow(bool printKeyMessages);

}  // namespace standins
