// Keyboard.dll: what a key costs on its way to the host, beside the same road built bare.
//  1. A key message posted to the plug-in's window until the host has the event, beside a post to
//     a bare window whose procedure sends to the host window.
//  2. SendInput until the host has the event through hooks.dll's low-level hook, beside a bare
//     low-level hook on a thread of its own that posts to a window of the main thread.
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "bench_support.h"
#include "contract/plugin_contract.h"
#include "plugin_module.h"
#include "recording_host.h"

namespace {

using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using VoidFn = void(__stdcall*)();

HWND g_host = nullptr;
contract::EventRecord g_record{};

// The bare forwarding window: a key message becomes a send to the host window.
LRESULT CALLBACK ForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) {
    SendMessageA(g_host, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(&g_record), 0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateForwardWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ForwardProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "BenchForward";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "BenchForward", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
}

// The bare low-level hook: on a thread of its own, posting every key to one window.
HWND g_bareTarget = nullptr;
LRESULT CALLBACK BareHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    PostMessageA(g_bareTarget, WM_USER, key->vkCode, static_cast<LPARAM>(key->scanCode << 16));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class BareHookThread {
 public:
  BareHookThread() {
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
      threadId_ = GetCurrentThreadId();
      HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, BareHookProc, GetModuleHandleA(nullptr), 0);
      SetEvent(ready_);
      while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
      UnhookWindowsHookEx(hook);
    });
    WaitForSingleObject(ready_, INFINITE);
  }
  ~BareHookThread() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(ready_);
  }

 private:
  HANDLE ready_;
  DWORD threadId_ = 0;
  std::thread thread_;
};

void Inject(WORD virtualKey, WORD scanCode, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = scanCode;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

// One round trip: `cause` makes one event, and the host's window is pumped until it is there.
template <class Cause>
void TimeUntilEvent(bench::Samples& samples, harness::RecordingHost& host, Cause&& cause) {
  host.clear();
  samples.time([&] {
    cause();
    host.pumpUntil([&] { return !host.events().empty(); }, 1000);
  });
}

std::string WriteHookSettings() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path);
  file = file.substr(0, file.find_last_of("\\/") + 1) + "Keyboard.ini";
  FILE* out = std::fopen(file.c_str(), "wb");
  std::fputs("[Setup]\nUseDirectInput=0\nUseLLHook=1\n", out);
  std::fclose(out);
  return file;
}

}  // namespace

int main() {
  const std::string settings = WriteHookSettings();
  harness::PluginModule plugin("Keyboard.dll");
  harness::RecordingHost host;
  g_host = host.hwnd();
  plugin.get<OpenFn>("Open")(nullptr, host.hwnd(), 0);
  DeleteFileA(settings.c_str());
  const HWND form = FindWindowA("TSetupForm", nullptr);
  const HWND forward = CreateForwardWindow();
  g_bareTarget = forward;

  constexpr int kRounds = 20;
  constexpr int kPerRound = 50;
  bench::Samples viaPlugin, bare;
  // Alternating rounds, so that drift of the machine falls on both sides alike. Each key goes
  // down and up, so every message names a new state and sends one event.
  for (int round = 0; round < kRounds; ++round) {
    for (int i = 0; i < kPerRound; ++i) {
      const LPARAM keyData = 0x001E0001 | ((i & 1) ? static_cast<LPARAM>(0xC0000000u) : 0);
      TimeUntilEvent(viaPlugin, host, [&] { PostMessageA(form, WM_USER, 'A', keyData); });
    }
    for (int i = 0; i < kPerRound; ++i) {
      TimeUntilEvent(bare, host, [&] { PostMessageA(forward, WM_USER, 'A', 0x001E0001); });
    }
  }
  bench::PrintComparison("key message to host event", viaPlugin, bare, 1.5);

  bench::Samples hookPlugin, hookBare;
  auto start = plugin.get<VoidFn>("Start");
  auto stop = plugin.get<VoidFn>("Stop");
  for (int round = 0; round < kRounds; ++round) {
    start();
    for (int i = 0; i < kPerRound; ++i) {
      TimeUntilEvent(hookPlugin, host, [&] { Inject('A', 0x1E, (i & 1) != 0); });
    }
    stop();
    host.pumpPending();
    {
      BareHookThread bareHook;
      for (int i = 0; i < kPerRound; ++i) {
        TimeUntilEvent(hookBare, host, [&] { Inject('A', 0x1E, (i & 1) != 0); });
      }
    }
    host.pumpPending();
  }
  bench::PrintComparison("SendInput to host event through the low-level hook", hookPlugin, hookBare, 1.3);
  plugin.get<VoidFn>("Close")();
  DestroyWindow(forward);
  return 0;
}
