#include "text_standin.h"

#include <cstdio>
#include <string>

namespace standins {
namespace {

struct TextWindow {
  bool printKeyMessages = false;
  std::string typed;
};
TextWindow g_window;

const char* KeyMessageName(UINT message) {
  switch (message) {
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_SYSKEYDOWN:
      return "WM_SYSKEYDOWN";
    case WM_SYSKEYUP:
      return "WM_SYSKEYUP";
    default:
      return nullptr;
  }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CHAR) {
    if (wParam >= 0x20) g_window.typed += static_cast<char>(wParam);  // not the controls of Ctrl+letter
    return 0;
  }
  if (const char* name = KeyMessageName(message)) {
    if (g_window.printKeyMessages) {
      std::printf("text: %-13s vk 0x%02X lParam 0x%08lX\n", name, static_cast<unsigned>(wParam),
                  static_cast<unsigned long>(static_cast<DWORD>(lParam)));
      std::fflush(stdout);
    }
    return 0;  // no system handling: Alt+F4 must not close the window
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int RunTextWindow(bool printKeyMessages) {
  g_window.printKeyMessages = printKeyMessages;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kTextWindowClass;
  RegisterClassA(&windowClass);
  const HWND window = CreateWindowExA(0, kTextWindowClass, "Text stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                      100, nullptr, nullptr, windowClass.hInstance, nullptr);
  SetForegroundWindow(window);
  SetFocus(window);
  std::printf("text: window %lld is up\n", static_cast<long long>(reinterpret_cast<std::intptr_t>(window)));
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::printf("text: typed \"%s\"\n", g_window.typed.c_str());
  std::fflush(stdout);
  DestroyWindow(window);
  return 0;
}

}  // namespace standins
