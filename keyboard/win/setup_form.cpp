#include "setup_form.h"

#include <cstring>
#include <stdexcept>
#include <string>

#include "contract/win/exports.h"
#include "hooks.h"
#include "profile_settings.h"

namespace keyboard::win {

namespace {

constexpr int kClientWidth = 447;
constexpr int kClientHeight = 238;
// A single fixed border with the system-menu button only.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;  // not WS_CLIPCHILDREN: group boxes leave their inside to the form
constexpr int kFontHeight = -11;  // 8 point at 96 dots per inch
constexpr const char* kFontName = "MS Sans Serif";
constexpr int kModalResultClose = 1;

static_assert(kKeyMessage == WM_USER && kWmHotkey == WM_HOTKEY);
static_assert(contract::WM_PLUGIN_EVENT == WM_USER + 1);
static_assert(kModAlt == MOD_ALT && kModControl == MOD_CONTROL && kModShift == MOD_SHIFT && kModWin == MOD_WIN);

struct KindStyle {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

KindStyle StyleOf(ControlKind kind) noexcept {
  constexpr DWORD kText = SS_NOPREFIX;  // key names may hold "&"
  switch (kind) {
    case ControlKind::kGroupBox:
      return {"BUTTON", BS_GROUPBOX, 0};
    case ControlKind::kLabel:
      return {"STATIC", SS_LEFT | kText, 0};
    case ControlKind::kLoweredPanel:
      return {"STATIC", SS_CENTER | SS_CENTERIMAGE | kText, WS_EX_STATICEDGE};
    case ControlKind::kFocusPanel:
      return {"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_NOTIFY | WS_TABSTOP | kText, WS_EX_STATICEDGE};
    case ControlKind::kButton:
      return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::kCheckBox:
      return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::kListBox:
      return {"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::kBar:
      return {"STATIC", SS_ETCHEDHORZ, 0};
  }
  return {"STATIC", 0, 0};
}

using UniqueGdiObject = Unique<HGDIOBJ, &DeleteObject>;
using UniqueDc = Unique<HDC, &DeleteDC>;
using UniqueGlobal = Unique<HGLOBAL, &GlobalFree>;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  const UniqueGdiObject brush(CreateSolidBrush(color));
  const RECT area{left, top, right, bottom};
  FillRect(dc, &area, static_cast<HBRUSH>(brush.get()));
}

// The window's icon: a small keyboard, drawn rather than stored.
HICON MakeKeyboardIcon() {
  constexpr int kSize = 32;
  constexpr int kLeft = 1, kTop = 8, kRight = 31, kBottom = 25;
  const HDC screen = GetDC(nullptr);
  const UniqueDc dc(CreateCompatibleDC(screen));
  const UniqueGdiObject color(CreateCompatibleBitmap(screen, kSize, kSize));
  ReleaseDC(nullptr, screen);
  const UniqueGdiObject mask(CreateBitmap(kSize, kSize, 1, 1, nullptr));
  if (!dc || !color || !mask) return nullptr;

  const HGDIOBJ original = SelectObject(dc.get(), mask.get());
  Fill(dc.get(), 0, 0, kSize, kSize, RGB(255, 255, 255));  // transparent around the keyboard
  Fill(dc.get(), kLeft, kTop, kRight, kBottom, RGB(0, 0, 0));
  SelectObject(dc.get(), color.get());
  Fill(dc.get(), 0, 0, kSize, kSize, RGB(0, 0, 0));
  Fill(dc.get(), kLeft, kTop, kRight, kBottom, RGB(64, 64, 72));
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 7; ++column) {
      const int x = kLeft + 2 + column * 4 + (row == 1 ? 1 : 0);
      const int y = kTop + 2 + row * 4;
      Fill(dc.get(), x, y, x + 3, y + 3, RGB(236, 236, 236));
    }
  }
  Fill(dc.get(), kLeft + 7, kTop + 14, kRight - 7, kTop + 16, RGB(236, 236, 236));  // the space bar
  SelectObject(dc.get(), original);

  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = static_cast<HBITMAP>(mask.get());
  info.hbmColor = static_cast<HBITMAP>(color.get());
  return CreateIconIndirect(&info);  // it copies both bitmaps
}

// Puts a text on the clipboard in place of what was there.
void CopyToClipboard(HWND owner, const std::string& text) {
  UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) return;
  void* bytes = GlobalLock(memory.get());
  if (bytes == nullptr) return;
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(memory.get());
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (SetClipboardData(CF_TEXT, memory.get()) != nullptr) static_cast<void>(memory.release());  // the system's now
  CloseClipboard();
}

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

std::size_t ListBoxRegistrations::Count() {
  const LRESULT count = SendMessageA(list_, LB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::string ListBoxRegistrations::Text(std::size_t index) {
  const LRESULT length = SendMessageA(list_, LB_GETTEXTLEN, index, 0);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendMessageA(list_, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
  return text;
}

std::int32_t ListBoxRegistrations::Id(std::size_t index) {
  return static_cast<std::int32_t>(SendMessageA(list_, LB_GETITEMDATA, index, 0));
}

bool ListBoxRegistrations::Append(std::string_view text, std::int32_t id) {
  const std::string item(text);
  const LRESULT index = SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (index < 0) return false;
  SendMessageA(list_, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(id));
  return true;
}

void ListBoxRegistrations::Remove(std::size_t index) { SendMessageA(list_, LB_DELETESTRING, index, 0); }

bool WindowHotkeys::RegisterHotkey(std::int32_t id, unsigned modifiers, int virtualKey) {
  return ::RegisterHotKey(window_, id, modifiers, static_cast<UINT>(virtualKey)) != FALSE;
}

void WindowHotkeys::UnregisterHotkey(std::int32_t id) { ::UnregisterHotKey(window_, id); }

SetupFormWindow::SetupFormWindow(HINSTANCE module, HWND owner, PluginState& state, MonitoringSwitch& monitoring)
    : state_(state), monitoring_(monitoring), module_(module), class_(module, &WindowProc) {
  font_.reset(CreateFontA(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kFontName));
  icon_.reset(MakeKeyboardIcon());
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  // The host's window owns the form; a host without a usable window still gets a working form.
  if (!IsWindow(owner)) owner = nullptr;
  window_.reset(CreateWindowExA(0, kSetupFormClass, kDescription, kStyle, 0, 0, frame.right - frame.left,
                                frame.bottom - frame.top, owner, nullptr, module, this));
  if (!window_) throw std::runtime_error("setup window refused");
  if (icon_) {
    SendMessageA(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
  }
  createControls(module);
  registrations_.attach(control(Control::RegList));
  windowHotkeys_.attach(window_.get());
  monitor_ = std::make_unique<DirectInputMonitor>(window_.get());
}

SetupFormWindow::~SetupFormWindow() {
  hotkeys_.WithdrawAll();
  monitor_.reset();  // its timers belong to the window
  window_.reset();
}

void SetupFormWindow::createControls(HINSTANCE module) {
  for (const ControlRow& row : kControls) {
    const KindStyle kind = StyleOf(row.kind);
    const HWND child =
        CreateWindowExA(kind.exStyle, kind.className, row.caption, WS_CHILD | WS_VISIBLE | kind.style, row.x, row.y,
                        row.width, row.height, window_.get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row.control))), module, nullptr);
    if (child == nullptr) throw std::runtime_error("setup window control refused");
    if (font_) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
}

void SetupFormWindow::setOwner(HWND owner) noexcept {
  SetWindowLongPtrA(window_.get(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(IsWindow(owner) ? owner : nullptr));
}

int SetupFormWindow::showModal() {
  // Only locals after the loop: a host may end the plug-in from inside it.
  const HWND window = window_.get();
  if (IsWindowVisible(window)) return 0;
  modalResult_ = 0;
  RECT frame{};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const HWND owner = GetWindow(window, GW_OWNER);
  const bool disabledOwner = owner != nullptr && EnableWindow(owner, FALSE) == 0;
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(control(Control::KeysPanel));  // keys held for a test then press no button
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
  if (!IsWindow(window)) return 0;
  ShowWindow(window, SW_HIDE);
  return modalResult_;
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
    case WM_SHOWWINDOW:
      // Shown or hidden by a call (not by the owner's minimising): the form's show and hide.
      if (lParam == 0 && wParam != FALSE && !shown_) {
        shown_ = true;
        FormShow();
      } else if (lParam == 0 && wParam == FALSE && shown_) {
        shown_ = false;
        FormHide();
        // A hide inside a sent message leaves the modal loop waiting for a posted one.
        PostMessageA(window, WM_NULL, 0, 0);
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) onCommand(ControlOfId(LOWORD(wParam)));
      return 0;
    case WM_CLOSE:
      ShowWindow(window, SW_HIDE);  // closing only hides: the window lives until Close
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void SetupFormWindow::onCommand(Control which) {
  struct Handler {
    Control control;
    void (SetupFormWindow::*click)();
  };
  static constexpr Handler kHandlers[] = {
      {Control::Button1, &SetupFormWindow::Button1Click},
      {Control::Button2, &SetupFormWindow::Button2Click},
      {Control::KeybEventCheck, &SetupFormWindow::KeybEventCheckClick},
      {Control::DirectInputCheck, &SetupFormWindow::DirectInputCheckClick},
      {Control::MediaDisableCheck, &SetupFormWindow::MediaDisableCheckClick},
      {Control::UseLLHookCheck, &SetupFormWindow::UseLLHookCheckClick},
      {Control::CopyClipButton, &SetupFormWindow::CopyClipButtonClick},
      {Control::CloseButton, &SetupFormWindow::CloseButtonClick},
  };
  for (const Handler& handler : kHandlers) {
    if (handler.control == which) return (this->*handler.click)();
  }
}

bool SetupFormWindow::checked(Control box) const noexcept {
  return SendMessageA(control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetupFormWindow::setCheck(Control box, bool on, void (SetupFormWindow::*click)()) {
  if (checked(box) == on) return;
  SendMessageA(control(box), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  (this->*click)();
}

std::string SetupFormWindow::caption(Control which) const {
  const HWND child = control(which);
  const int length = GetWindowTextLengthA(child);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(child, text.data(), length + 1);
  text.resize(copied > 0 && copied <= length ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void SetupFormWindow::FormShow() {
  KeyboardSettings& settings = state_.settings;
  SetWindowTextA(control(Control::Panel4), settings.english.c_str());
  SetWindowTextA(control(Control::Panel5), settings.international.c_str());
  setCheck(Control::KeybEventCheck, settings.win9xMode, &SetupFormWindow::KeybEventCheckClick);
  setCheck(Control::DirectInputCheck, settings.useDirectInput, &SetupFormWindow::DirectInputCheckClick);
  setCheck(Control::UseLLHookCheck, settings.useLLHook, &SetupFormWindow::UseLLHookCheckClick);
  setCheck(Control::MediaDisableCheck, settings.mediaDisable, &SetupFormWindow::MediaDisableCheckClick);
  enableHookOptions();
}

void SetupFormWindow::enableHookOptions() {
  // The hook options act on the hook library, which DirectInput monitoring does not use.
  const BOOL hookOptions = checked(Control::DirectInputCheck) ? FALSE : TRUE;
  EnableWindow(control(Control::MediaDisableCheck), hookOptions);
  EnableWindow(control(Control::UseLLHookCheck), hookOptions);
}

void SetupFormWindow::FormHide() {
  ProfileSettingsSink file(contract::win::SettingsFilePath(module_));
  WriteSettings(state_.settings, file);
}

void SetupFormWindow::Button1Click() {
  state_.settings.english = caption(Control::KeysPanel);
  SetWindowTextA(control(Control::Panel4), state_.settings.english.c_str());
}

void SetupFormWindow::Button2Click() {
  state_.settings.international = caption(Control::KeysPanel);
  SetWindowTextA(control(Control::Panel5), state_.settings.international.c_str());
}

void SetupFormWindow::KeybEventCheckClick() { state_.settings.win9xMode = checked(Control::KeybEventCheck); }

void SetupFormWindow::DirectInputCheckClick() {
  state_.settings.useDirectInput = checked(Control::DirectInputCheck);
  enableHookOptions();
  monitoring_.Stop();
  monitoring_.Start();
}

void SetupFormWindow::MediaDisableCheckClick() {
  state_.settings.mediaDisable = checked(Control::MediaDisableCheck);
  kbd_MediaDisable(state_.settings.mediaDisable ? 1 : 0);
}

void SetupFormWindow::UseLLHookCheckClick() {
  state_.settings.useLLHook = checked(Control::UseLLHookCheck);
  kbd_UseLLHook(state_.settings.useLLHook ? 1 : 0);
}

void SetupFormWindow::CopyClipButtonClick() { CopyToClipboard(window_.get(), caption(Control::KeysPanel)); }

void SetupFormWindow::CloseButtonClick() {
  modalResult_ = kModalResultClose;
  ShowWindow(window_.get(), SW_HIDE);
}

bool SetupFormWindow::WindowVisible() { return visible(); }

void SetupFormWindow::SendEvent(std::intptr_t repeatState) {
  SendMessageA(state_.host, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(&state_.record),
               static_cast<LPARAM>(repeatState));
}

void SetupFormWindow::ShowKeys(std::string_view text) {
  SetWindowTextA(control(Control::KeysPanel), std::string(text).c_str());
}

void SetupFormWindow::ShowCount(std::string_view text) {
  SetWindowTextA(control(Control::CountLabel), std::string(text).c_str());
}

}  // namespace keyboard::win
