#include "setup_form.h"

#include <stdexcept>
#include <string>

namespace keyboard::win {

namespace {

constexpr int kClientWidth = 447;
constexpr int kClientHeight = 238;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;

static_assert(kKeyMessage == WM_USER && kWmHotkey == WM_HOTKEY);
static_assert(contract::WM_PLUGIN_EVENT == WM_USER + 1);

}  // namespace

RegisteredClass::RegisteredClass(HINSTANCE module, WNDPROC procedure) : module_(module) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kSetupFormClass;
  if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("window class refused");
  }
}

RegisteredClass::~RegisteredClass() { UnregisterClassA(kSetupFormClass, module_); }

SetupFormWindow::SetupFormWindow(HINSTANCE module, HWND owner, PluginState& state)
    : state_(state), class_(module, &WindowProc) {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  // The host's window owns the form; a host without a usable window still gets a working form.
  if (!IsWindow(owner)) owner = nullptr;
  window_.reset(CreateWindowExA(WS_EX_DLGMODALFRAME, kSetupFormClass, kDescription, kStyle, x, y, width, height, owner,
                                nullptr, module, this));
  if (!window_) throw std::runtime_error("setup window refused");
  keysPanel_ = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 8, 8,
                               kClientWidth - 16, 32, window_.get(), nullptr, module, nullptr);
  countLabel_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 8, 48, kClientWidth - 16, 16,
                                window_.get(), nullptr, module, nullptr);
  monitor_ = std::make_unique<DirectInputMonitor>(window_.get());
}

SetupFormWindow::~SetupFormWindow() {
  monitor_.reset();  // its timers belong to the window
  window_.reset();
}

void SetupFormWindow::setOwner(HWND owner) noexcept {
  SetWindowLongPtrA(window_.get(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(IsWindow(owner) ? owner : nullptr));
}

void SetupFormWindow::showModal() {
  // Only locals after the loop: a host may end the plug-in from inside it.
  const HWND window = window_.get();
  const HWND owner = GetWindow(window, GW_OWNER);
  const bool disabledOwner = owner != nullptr && EnableWindow(owner, FALSE) == 0;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  MSG message;
  while (IsWindow(window) && IsWindowVisible(window)) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));  // the host's loop must still see it
      break;
    }
    if (got < 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (disabledOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (IsWindow(window)) ShowWindow(window, SW_HIDE);
}

LRESULT CALLBACK SetupFormWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SetupFormWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr || message == WM_NCDESTROY) return DefWindowProcA(window, message, wParam, lParam);
  try {
    return self->handle(window, message, wParam, lParam);
  } catch (...) {
    return 0;  // nothing may unwind into the system's dispatch
  }
}

LRESULT SetupFormWindow::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kKeyMessage:
      state_.delivery.HandleKeyMessage(wParam, static_cast<std::uintptr_t>(lParam), !state_.settings.useDirectInput,
                                       keySystem_, *this);
      return 0;
    case WM_HOTKEY: {
      const std::uint32_t keyData = state_.delivery.HandleHotkey(static_cast<std::uintptr_t>(lParam), keySystem_);
      const WPARAM virtualKey = (static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFF;
      PostMessageA(window, kKeyMessage, virtualKey, static_cast<LPARAM>(keyData));
      break;
    }
    case WM_TIMER:
      if (wParam == DirectInputMonitor::kPollTimer && monitor_) monitor_->Poll();
      if (wParam == DirectInputMonitor::kRepeatTimer && monitor_) monitor_->Repeat();
      return 0;
    case WM_CLOSE:
      ShowWindow(window, SW_HIDE);  // closing only hides: the window lives until Close
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool SetupFormWindow::WindowVisible() { return IsWindowVisible(window_.get()) != FALSE; }

void SetupFormWindow::SendEvent(std::intptr_t repeatState) {
  SendMessageA(state_.host, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(&state_.record),
               static_cast<LPARAM>(repeatState));
}

void SetupFormWindow::ShowKeys(std::string_view text) { SetWindowTextA(keysPanel_, std::string(text).c_str()); }

void SetupFormWindow::ShowCount(std::string_view text) { SetWindowTextA(countLabel_, std::string(text).c_str()); }

}  // namespace keyboard::win
