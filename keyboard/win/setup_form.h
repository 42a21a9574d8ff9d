// The TSetupForm window: hidden message target of the hook library, the DirectInput monitor and
// the hotkeys, and, while Setup shows it, the settings window that shows the keys held.
#pragma once

#include <windows.h>

#include <memory>

#include "contract/plugin_contract.h"
#include "direct_input_monitor.h"
#include "key_event_delivery.h"
#include "keyboard_settings.h"
#include "unique_handle.h"
#include "win32_key_system.h"

namespace keyboard::win {

inline constexpr const char* kSetupFormClass = "TSetupForm";
inline constexpr const char* kDescription = "Keyboard events/emulation";

// The plug-in's module-level state, from load to unload; the window reads and changes it.
struct PluginState {
  HWND host = nullptr;
  contract::EventRecord record{};  // its address goes with every event
  KeyEventDelivery delivery{record.eventText};
  KeyboardSettings settings;
  bool monitoring = false;
  bool hooked = false;  // the hook library was started and not yet stopped
};

// The window class, registered while a window of it exists: a library may be unloaded and
// loaded again elsewhere, and a class left behind would point into the old code.
class RegisteredClass {
 public:
  RegisteredClass(HINSTANCE module, WNDPROC procedure);
  ~RegisteredClass();
  RegisteredClass(const RegisteredClass&) = delete;
  RegisteredClass& operator=(const RegisteredClass&) = delete;

 private:
  HINSTANCE module_;
};

class SetupFormWindow final : private DeliveryPort {
 public:
  // Creates the hidden window, owned by `owner` when that is a window. Throws when the system
  // refuses the window.
  SetupFormWindow(HINSTANCE module, HWND owner, PluginState& state);
  ~SetupFormWindow();
  SetupFormWindow(const SetupFormWindow&) = delete;
  SetupFormWindow& operator=(const SetupFormWindow&) = delete;

  HWND hwnd() const noexcept { return window_.get(); }
  DirectInputMonitor& monitor() noexcept { return *monitor_; }
  void setOwner(HWND owner) noexcept;
  // Shows the window modally (the owner disabled) until it is closed; returns when hidden again.
  void showModal();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  bool WindowVisible() override;
  void SendEvent(std::intptr_t repeatState) override;
  void ShowKeys(std::string_view text) override;
  void ShowCount(std::string_view text) override;

  PluginState& state_;
  RegisteredClass class_;
  Win32KeySystem keySystem_;
  UniqueWindow window_;
  HWND keysPanel_ = nullptr;  // child windows go with the form
  HWND countLabel_ = nullptr;
  std::unique_ptr<DirectInputMonitor> monitor_;
};

}  // namespace keyboard::win
