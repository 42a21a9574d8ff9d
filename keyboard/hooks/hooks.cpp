// hooks.dll: watches the keyboard system-wide for the keyboard plug-in and posts one key message
// per transition to the plug-in's window.
#include "hooks.h"

#include "unique_handle.h"

namespace {

using keyboard::win::UniqueHandle;
using keyboard::win::UniqueHook;

constexpr UINT kKeyMessage = WM_USER;
constexpr DWORD kStopWaitMs = 5000;

// What every process that maps this library must see: the classic hook's procedure runs inside
// whichever process receives the key, so the target and the switches live in a shared section.
// A window handle is significant in its low 32 bits, so one LONG holds it for either word size.
struct SharedState {
  volatile LONG target;
  volatile LONG reporting;
  volatile LONG swallowMedia;
};
SharedState g_shared __attribute__((section(".kbdshr"), shared)) = {0, 0, 0};

HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

bool IsMediaKey(DWORD virtualKey) {
  return virtualKey >= VK_BROWSER_BACK && virtualKey <= VK_LAUNCH_APP2;  // browser, volume, media, launch
}

// Posts the key message when reporting; tells whether the key is to be kept from other programs.
bool Report(WPARAM virtualKey, LPARAM keyData) {
  const LONG target = g_shared.target;
  if (g_shared.reporting == 0 || target == 0) return false;
  const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(target));
  PostMessageA(window, kKeyMessage, virtualKey, keyData);
  return g_shared.swallowMedia != 0 && IsMediaKey(static_cast<DWORD>(virtualKey));
}

LRESULT CALLBACK ClassicProc(int code, WPARAM wParam, LPARAM lParam) {
  // Only HC_ACTION removes the key from the queue: a peek without removal calls again with
  // HC_NOREMOVE for the same transition.
  if (code == HC_ACTION && Report(wParam, lParam)) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK LowLevelProc(int code, WPARAM wParam, LPARAM lParam) {
  // Nothing slow here: the system drops a low-level hook that keeps it waiting.
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    DWORD keyData = 1 | (key->scanCode & 0xFF) << 16;
    if (key->flags & LLKHF_EXTENDED) keyData |= 1u << 24;
    if (key->flags & LLKHF_ALTDOWN) keyData |= 1u << 29;
    if (key->flags & LLKHF_UP) keyData |= 3u << 30;
    if (Report(key->vkCode, static_cast<LPARAM>(keyData))) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The low-level hook on a thread of its own, whose message loop keeps the hook called at once
// whatever the plug-in's thread is doing. The thread holds its own reference to this library,
// so the library stays mapped until the thread has left its code.
class LowLevelHookThread {
 public:
  bool start() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ThisModule), &module)) {
      return false;
    }
    UniqueHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    StartInfo info{module, ready.get(), false};
    DWORD id = 0;
    UniqueHandle thread(ready ? CreateThread(nullptr, 0, &Run, &info, 0, &id) : nullptr);
    if (!thread) {
      FreeLibrary(module);
      return false;
    }
    // The hook is in place (or failed) before kbd_Start returns.
    const HANDLE waits[] = {ready.get(), thread.get()};
    WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    thread_ = std::move(thread);
    threadId_ = id;
    return info.hooked;
  }

  void stop() {
    if (!thread_) return;
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), kStopWaitMs);
    thread_.reset();
    threadId_ = 0;
  }

  bool running() const { return static_cast<bool>(thread_); }

 private:
  struct StartInfo {
    HMODULE module;
    HANDLE ready;
    bool hooked;
  };

  static DWORD WINAPI Run(void* parameter) {
    auto* info = static_cast<StartInfo*>(parameter);
    const HMODULE module = info->module;
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the queue exists before `ready`
    {
      UniqueHook hook(SetWindowsHookExA(WH_KEYBOARD_LL, &LowLevelProc, module, 0));
      info->hooked = static_cast<bool>(hook);
      SetEvent(info->ready);  // `info` is gone after this
      if (hook) {
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
      }
    }
    FreeLibraryAndExitThread(module, 0);
  }

  UniqueHandle thread_;
  DWORD threadId_ = 0;
};

// The state of the process that calls the functions (the plug-in's host).
struct Watch {
  bool useLowLevel = false;
  UniqueHook classic;
  LowLevelHookThread lowLevel;

  bool running() const { return static_cast<bool>(classic) || lowLevel.running(); }
  bool runningLowLevel() const { return lowLevel.running(); }
  void stop() {
    classic.reset();
    lowLevel.stop();
  }
};
Watch g_watch;

}  // namespace

void __stdcall kbd_Init() {}

BOOL __stdcall kbd_Start(HWND target) {
  InterlockedExchange(&g_shared.target, static_cast<LONG>(reinterpret_cast<LONG_PTR>(target)));
  InterlockedExchange(&g_shared.reporting, 1);
  if (g_watch.running() && g_watch.runningLowLevel() == g_watch.useLowLevel) return TRUE;
  g_watch.stop();
  if (g_watch.useLowLevel) return g_watch.lowLevel.start();
  g_watch.classic.reset(SetWindowsHookExA(WH_KEYBOARD, &ClassicProc, ThisModule(), 0));
  return static_cast<bool>(g_watch.classic);
}

void __stdcall kbd_Stop() {
  // Other processes keep the library mapped for a while; the shared switch silences them at once.
  InterlockedExchange(&g_shared.reporting, 0);
  InterlockedExchange(&g_shared.target, 0);
  g_watch.stop();
}

void __stdcall kbd_UseLLHook(int use) { g_watch.useLowLevel = use != 0; }

void __stdcall kbd_MediaDisable(int disable) { InterlockedExchange(&g_shared.swallowMedia, disable != 0 ? 1 : 0); }

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Unloaded while started: the classic hook goes with the library. (The low-level thread holds
  // a reference, so it cannot be running here; at process exit there is nothing left to end.)
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr && g_watch.classic) {
    InterlockedExchange(&g_shared.reporting, 0);
    g_watch.classic.reset();
  }
  return TRUE;
}
