#include "recording_host.h"

#include <stdexcept>

namespace harness {
namespace {

constexpr char kHostClass[] = "PlugHostTestWindow";

void RegisterHostClass(WNDPROC procedure) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kHostClass;
  RegisterClassA(&windowClass);  // a second registration fails harmlessly
}

}  // namespace

RecordingHost::RecordingHost() {
  RegisterHostClass(&RecordingHost::WindowProc);
  window_ = CreateWindowExA(0, kHostClass, "test host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  if (window_ == nullptr) throw std::runtime_error("cannot create the host window");
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

RecordingHost::~RecordingHost() {
  SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

LRESULT CALLBACK RecordingHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<RecordingHost*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr && message >= WM_USER) {
    self->record(message, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RecordingHost::record(UINT message, WPARAM wParam, LPARAM lParam) {
  HostMessage entry;
  entry.message = message;
  entry.wParam = wParam;
  entry.lParam = lParam;
  const MSG* posted = dispatchingPosted_;
  entry.sent = !(posted != nullptr && posted->hwnd == window_ && posted->message == message &&
                 posted->wParam == wParam && posted->lParam == lParam);
  entry.fromOtherThread = (InSendMessageEx(nullptr) & ISMEX_SEND) != 0;
  if (message == contract::WM_PLUGIN_EVENT && wParam != 0) {
    const auto* record = reinterpret_cast<const contract::EventRecord*>(wParam);
    entry.instanceName.assign(record->instanceName, strnlen(record->instanceName, sizeof record->instanceName));
    entry.eventText.assign(record->eventText, strnlen(record->eventText, sizeof record->eventText));
    entry.ext.assign(record->ext, strnlen(record->ext, sizeof record->ext));
    const int count = record->params.count < 0 ? 0 : (record->params.count > 4 ? 4 : record->params.count);
    for (int i = 0; i < count; ++i) {
      if (record->params.kind[i] == contract::kKindText) {
        const char* text = reinterpret_cast<const char*>(record->params.value[i]);
        entry.params.emplace_back(std::string(text ? text : ""));
      } else {
        entry.params.emplace_back(static_cast<std::int32_t>(record->params.value[i]));
      }
    }
  } else if (message == contract::WM_PLUGIN_LOG && wParam != 0) {
    entry.logText = reinterpret_cast<const char*>(wParam);
  }
  std::function<void(const HostMessage&)> handler;
  {
    std::lock_guard lock(mutex_);
    messages_.push_back(entry);
    handler = handler_;
  }
  if (handler) handler(entry);
}

void RecordingHost::pumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    dispatchingPosted_ = &msg;
    DispatchMessageA(&msg);
    dispatchingPosted_ = nullptr;
  }
}

void RecordingHost::pumpFor(DWORD milliseconds) {
  pumpUntil([] { return false; }, milliseconds);
}

bool RecordingHost::pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    pumpPending();
    if (done()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now > 5 ? 5 : deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

std::vector<HostMessage> RecordingHost::messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}

namespace {
std::vector<HostMessage> Only(const std::vector<HostMessage>& all, UINT message) {
  std::vector<HostMessage> some;
  for (const HostMessage& m : all) {
    if (m.message == message) some.push_back(m);
  }
  return some;
}
}  // namespace

std::vector<HostMessage> RecordingHost::events() const { return Only(messages(), contract::WM_PLUGIN_EVENT); }
std::vector<HostMessage> RecordingHost::dones() const { return Only(messages(), contract::WM_PLUGIN_ACTION_DONE); }
std::vector<HostMessage> RecordingHost::logs() const { return Only(messages(), contract::WM_PLUGIN_LOG); }

void RecordingHost::clear() {
  std::lock_guard lock(mutex_);
  messages_.clear();
}

void RecordingHost::onMessage(std::function<void(const HostMessage&)> handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

}  // namespace harness
