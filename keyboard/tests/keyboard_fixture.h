// Keyboard.dll under Wine: the real exports, the settings file beside the DLL, a host window on
// the test's thread, and helpers to post key messages and inject keys.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "contract/plugin_contract.h"
#include "plugin_module.h"
#include "recording_host.h"

namespace keyboard_tests {

using contract::ActionParams;
using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using VoidFn = void(__stdcall*)();
using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);
using ManualFn = void(__stdcall*)(const ActionParams*);

// An event as the host saw it.
struct Event {
  std::string name;
  LPARAM state;
  bool operator==(const Event&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << '{' << e.name << ',' << e.state << '}';
}

inline std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// Keyboard.ini beside Keyboard.dll for the life of the object; no file when `text` is null.
class SettingsFile {
 public:
  explicit SettingsFile(const char* text) : path_(ExeFolder() + "Keyboard.ini") {
    DeleteFileA(path_.c_str());
    if (text == nullptr) return;
    FILE* file = std::fopen(path_.c_str(), "wb");
    std::fputs(text, file);
    std::fclose(file);
  }
  ~SettingsFile() { DeleteFileA(path_.c_str()); }
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

 private:
  std::string path_;
};

inline constexpr const char* kHookModeLowLevel = "[Setup]\nUseDirectInput=0\nUseLLHook=1\n";
inline constexpr const char* kHookModeClassic = "[Setup]\nUseDirectInput=0\nUseLLHook=0\n";

inline int ThreadsOfThisProcess() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// Injects one key transition. With `scanCodeOnly` the virtual key is left out (as DirectInput
// wants it); otherwise both travel.
inline void InjectKey(WORD virtualKey, WORD scanCode, bool up, bool extended = false, bool scanCodeOnly = false) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = scanCodeOnly ? 0 : virtualKey;
  input.ki.wScan = scanCode;
  input.ki.dwFlags =
      (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (scanCodeOnly ? KEYEVENTF_SCANCODE : 0);
  SendInput(1, &input, sizeof input);
}

class KeyboardTest : public ::testing::Test {
 protected:
  harness::PluginModule plugin{"Keyboard.dll"};
  harness::RecordingHost host;
  OpenFn open = plugin.get<OpenFn>("Open");
  VoidFn close = plugin.get<VoidFn>("Close");
  VoidFn start = plugin.get<VoidFn>("Start");
  VoidFn stop = plugin.get<VoidFn>("Stop");
  VoidFn setup = plugin.get<VoidFn>("Setup");
  ActionManualFn actionManual = plugin.get<ActionManualFn>("ActionManual");
  ManualFn startManual = plugin.get<ManualFn>("StartManual");
  ManualFn stopManual = plugin.get<ManualFn>("StopManual");
  void* const* setupFormExport = reinterpret_cast<void* const*>(plugin.find("_SetupForm"));

  void TearDown() override { close(); }

  // Opens with this settings file (null: none) and returns the hidden window.
  HWND openWith(const char* settings, const char* instanceName = nullptr) {
    SettingsFile file(settings);
    EXPECT_STREQ(open(instanceName, host.hwnd(), 0), "Keyboard events/emulation");
    return formWindow();
  }
  static HWND formWindow() { return FindWindowA("TSetupForm", nullptr); }

  // Posts a key message as the hook library or the DirectInput monitor would.
  static void postKey(HWND form, int virtualKey, int code, bool up) {
    const DWORD lParam = 1u | static_cast<DWORD>(code & 0x1FF) << 16 | (up ? 0xC0000000u : 0u);
    PostMessageA(form, WM_USER, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(lParam));
  }

  std::vector<Event> events() const {
    std::vector<Event> result;
    for (const harness::HostMessage& m : host.events()) result.push_back({m.eventText, m.lParam});
    return result;
  }
  // Pumps until `count` events arrived (or a time-out), then a little longer for strays.
  std::vector<Event> waitForEvents(std::size_t count, DWORD timeoutMs = 3000) {
    host.pumpUntil([&] { return host.events().size() >= count; }, timeoutMs);
    host.pumpFor(50);
    return events();
  }
};

}  // namespace keyboard_tests
