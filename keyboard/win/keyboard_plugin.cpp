// Keyboard.dll: the entry points of the keyboard plug-in and its lifecycle.
#include <cstring>
#include <memory>

#include "contract/action_params.h"
#include "contract/win/exports.h"
#include "hooks.h"
#include "keystroke_emulation.h"
#include "profile_settings.h"
#include "setup_form.h"
#include "win32_input_port.h"

using keyboard::win::SetupFormWindow;

// The settings window object, exported as data (_SetupForm); null while none exists.
extern "C" {
SetupFormWindow* SetupForm = nullptr;
}

namespace {

constexpr const char* kDefaultInstanceName = "KEY";
constexpr const char* kDirectInputError =
    "Error initializing DirectInput8.\nDisable DirectInput in plugin setup or install DirectX 8 or above.";

keyboard::win::PluginState g_state;
std::unique_ptr<SetupFormWindow> g_form;

void StartMonitoring() {
  // Before Open (or after Close) there is no window to watch for: nothing to start.
  if (!g_form) return;
  if (g_state.settings.useDirectInput) {
    const HRESULT result = g_form->monitor().Start(contract::win::ThisModule());
    if (FAILED(result)) MessageBoxA(nullptr, kDirectInputError, keyboard::win::kDescription, MB_ICONERROR | MB_OK);
  } else {
    kbd_Start(g_form->hwnd());
    g_state.hooked = true;
  }
  g_state.monitoring = true;
}

void StopMonitoring() noexcept {
  if (g_state.hooked) {
    g_state.hooked = false;
    kbd_Stop();
  }
  if (g_form) g_form->monitor().Stop();
  g_state.monitoring = false;
}

// The settings window restarts monitoring when its source changes.
class PluginMonitoring final : public keyboard::win::MonitoringSwitch {
 public:
  void Start() override { StartMonitoring(); }
  void Stop() override { StopMonitoring(); }
};
PluginMonitoring g_monitoring;

void EnsureForm() {
  if (g_form) return;
  g_form = std::make_unique<SetupFormWindow>(contract::win::ThisModule(), g_state.host, g_state, g_monitoring);
  SetupForm = g_form.get();
}

void DestroyForm() noexcept {
  SetupForm = nullptr;
  g_form.reset();
}

}  // namespace

const char* __stdcall Open(const char* instanceName, HWND hostWindow, std::int32_t /*reserved*/) {
  contract::win::Guarded([&] {
    g_state.host = hostWindow;
    if (g_form) {
      g_form->setOwner(hostWindow);
    } else {
      contract::win::Guarded([] { EnsureForm(); });
    }
    kbd_Init();
    std::memset(&g_state.record, 0, sizeof g_state.record);
    contract::CopyInstanceName(g_state.record.instanceName, instanceName, kDefaultInstanceName);
    keyboard::win::ProfileSettingsSource file(contract::win::SettingsFilePath(contract::win::ThisModule()));
    g_state.settings = keyboard::ReadSettings(file, [](std::string_view key, const keyboard::KeyboardSettings& read) {
      if (key == "UseLLHook") kbd_UseLLHook(read.useLLHook ? 1 : 0);
      if (key == "MediaDisable") kbd_MediaDisable(read.mediaDisable ? 1 : 0);
    });
  });
  return keyboard::win::kDescription;
}

void __stdcall Close() {
  contract::win::Guarded([] {
    StopMonitoring();
    DestroyForm();  // withdraws the watched hotkeys first
  });
}

void __stdcall Start() {
  contract::win::Guarded([] { StartMonitoring(); });
}

void __stdcall Stop() {
  contract::win::Guarded([] { StopMonitoring(); });
}

void __stdcall Setup() {
  contract::win::Guarded([] {
    EnsureForm();
    if (g_form->visible()) return;  // already shown: its own Setup restores monitoring
    const bool wasMonitoring = g_state.monitoring;
    StartMonitoring();
    g_form->showModal();
    if (!wasMonitoring) StopMonitoring();
  });
}

BOOL __stdcall ActionManual(const ActionParams* params, std::int32_t actionId) {
  return contract::win::Guarded(FALSE, [&] {
    // A command that throws counts as not performed; the host still gets its one completion.
    const int result = contract::win::Guarded(0, [&] {
      keyboard::win::Win32InputPort port;
      return keyboard::KeystrokeEmulator(port, g_state.settings).ExecuteCommand(params);
    });
    return contract::win::FinishActionWithReport(g_state.host, params, actionId, result, "Keyboard");
  });
}

void __stdcall StartManual(const ActionParams* params) {
  contract::win::Guarded([&] {
    if (g_form) g_form->hotkeys().Start(params);
  });
}

void __stdcall StopManual(const ActionParams* params) {
  contract::win::Guarded([&] {
    if (g_form) g_form->hotkeys().Stop(params);
  });
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_DETACH) {
    if (reserved == nullptr) {
      // Unloaded without Close: the window and the device go, so nothing calls into freed code.
      if (g_form) g_form->monitor().Stop();
      DestroyForm();
    } else {
      // The process ends: its windows and devices go with it.
      SetupForm = nullptr;
      static_cast<void>(g_form.release());
    }
  }
  return TRUE;
}
