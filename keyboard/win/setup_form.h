// The TSetupForm window: hidden message target of the hook library, the DirectInput monitor and
// the hotkeys, and, while Setup shows it, the settings window that shows the keys held.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "contract/plugin_contract.h"
#include "direct_input_monitor.h"
#include "hotkey_watches.h"
#include "key_event_delivery.h"
#include "keyboard_settings.h"
#include "setup_form_controls.h"
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

// Starting and stopping the keyboard monitoring, which the plug-in owns; the window restarts it
// when the monitoring source changes.
class MonitoringSwitch {
 public:
  virtual ~MonitoringSwitch() = default;
  virtual void Start() = 0;
  virtual void Stop() = 0;
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

// The "Registered hotkeys" list box as the store of the registrations: its items are the texts,
// each item's value the hotkey id.
class ListBoxRegistrations final : public RegistrationList {
 public:
  void attach(HWND listBox) noexcept { list_ = listBox; }
  std::size_t Count() override;
  std::string Text(std::size_t index) override;
  std::int32_t Id(std::size_t index) override;
  bool Append(std::string_view text, std::int32_t id) override;
  void Remove(std::size_t index) override;

 private:
  HWND list_ = nullptr;
};

// The system's hotkeys, registered for one window.
class WindowHotkeys final : public HotkeySystem {
 public:
  void attach(HWND window) noexcept { window_ = window; }
  unsigned MapKey(unsigned code, unsigned mapType) override { return keys_.MapKey(code, mapType); }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override { return keys_.KeyNameText(lParam, out); }
  bool RegisterHotkey(std::int32_t id, unsigned modifiers, int virtualKey) override;
  void UnregisterHotkey(std::int32_t id) override;

 private:
  HWND window_ = nullptr;
  Win32KeySystem keys_;
};

using UniqueFont = Unique<HFONT, &DeleteObject>;
using UniqueIcon = Unique<HICON, &DestroyIcon>;

class SetupFormWindow final : private DeliveryPort {
 public:
  // Creates the hidden window with its controls, owned by `owner` when that is a window. Throws
  // when the system refuses the window.
  SetupFormWindow(HINSTANCE module, HWND owner, PluginState& state, MonitoringSwitch& monitoring);
  // Withdraws the hotkeys still registered, then ends the window.
  ~SetupFormWindow();
  SetupFormWindow(const SetupFormWindow&) = delete;
  SetupFormWindow& operator=(const SetupFormWindow&) = delete;

  HWND hwnd() const noexcept { return window_.get(); }
  DirectInputMonitor& monitor() noexcept { return *monitor_; }
  HotkeyWatches& hotkeys() noexcept { return hotkeys_; }
  void setOwner(HWND owner) noexcept;
  bool visible() const noexcept { return IsWindowVisible(window_.get()) != FALSE; }
  // Shows the window modally (the owner disabled) until it is hidden, however that happens.
  // Returns the modal result: 1 after "Close", 0 for any other way.
  int showModal();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND control(Control which) const noexcept { return GetDlgItem(window_.get(), ControlId(which)); }
  void createControls(HINSTANCE module);
  void onCommand(Control which);

  // The form's event handlers.
  void FormShow();
  void FormHide();
  void Button1Click();
  void Button2Click();
  void KeybEventCheckClick();
  void DirectInputCheckClick();
  void MediaDisableCheckClick();
  void UseLLHookCheckClick();
  void CopyClipButtonClick();
  void CloseButtonClick();

  bool checked(Control box) const noexcept;
  // Sets a check box as the settings say; a box that changes runs its click handler, as a click would.
  void setCheck(Control box, bool on, void (SetupFormWindow::*click)());
  std::string caption(Control which) const;
  void enableHookOptions();

  bool WindowVisible() override;
  void SendEvent(std::intptr_t repeatState) override;
  void ShowKeys(std::string_view text) override;
  void ShowCount(std::string_view text) override;

  PluginState& state_;
  MonitoringSwitch& monitoring_;
  HINSTANCE module_;
  RegisteredClass class_;
  Win32KeySystem keySystem_;
  UniqueFont font_;
  UniqueIcon icon_;
  ListBoxRegistrations registrations_;
  WindowHotkeys windowHotkeys_;
  HotkeyWatches hotkeys_{registrations_, windowHotkeys_};
  UniqueWindow window_;  // after what its handlers use, so it ends first
  std::unique_ptr<DirectInputMonitor> monitor_;
  bool shown_ = false;  // FormShow ran and FormHide is due
  int modalResult_ = 0;
};

}  // namespace keyboard::win
