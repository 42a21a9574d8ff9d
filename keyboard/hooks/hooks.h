// The hook library's interface: system-wide keyboard watching that posts one key message (WM_USER;
// WPARAM the virtual key; LPARAM scan code in bits 16-23, extended in 24, release in 31) to a
// window for every transition it sees, auto-repeats included.
#pragma once

#include <windows.h>

extern "C" {
// Prepares the library; the other functions work without it too.
void __stdcall kbd_Init();
// Begins watching and reporting to `target`; a second call while watching only retargets (and
// switches the kind of hook when kbd_UseLLHook changed it). TRUE when a hook is in place.
BOOL __stdcall kbd_Start(HWND target);
// Stops watching and reporting; harmless when not started.
void __stdcall kbd_Stop();
// 1: the system's low-level keyboard hook, on a thread of its own; 0: the classic keyboard hook.
// Takes effect at the next kbd_Start.
void __stdcall kbd_UseLLHook(int use);
// 1: the volume, media, browser and launch keys are still reported but reach no other program.
void __stdcall kbd_MediaDisable(int disable);
}
