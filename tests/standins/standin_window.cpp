#include "standin_window.h"

#include <future>
#include <stdexcept>

namespace standins {

StandInWindow::StandInWindow(Options options) : options_(std::move(options)) {
  std::promise<HWND> created;
  std::future<HWND> window = created.get_future();
  thread_ = std::thread([this, &created] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &StandInWindow::WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = options_.className.c_str();
    RegisterClassA(&windowClass);
    HWND hwnd = CreateWindowExA(0, options_.className.c_str(), options_.title.c_str(),
                                WS_OVERLAPPEDWINDOW | (options_.visible ? WS_VISIBLE : 0), 10, 10, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), this);
    created.set_value(hwnd);
    if (hwnd != nullptr) run();
  });
  window_ = window.get();
  if (window_ == nullptr) {
    thread_.join();
    throw std::runtime_error("cannot create the stand-in window " + options_.className);
  }
}

StandInWindow::~StandInWindow() {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  thread_.join();
}

void StandInWindow::run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

LRESULT CALLBACK StandInWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<StandInWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  {
    std::lock_guard lock(self->mutex_);
    self->received_.push_back({message, wParam, lParam, (InSendMessageEx(nullptr) & ISMEX_SEND) != 0});
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (self->options_.answer) return self->options_.answer(window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<ReceivedMessage> StandInWindow::received() const {
  std::lock_guard lock(mutex_);
  std::vector<ReceivedMessage> some;
  for (const ReceivedMessage& m : received_) {
    if (m.message >= WM_USER) some.push_back(m);
  }
  return some;
}

std::vector<ReceivedMessage> StandInWindow::received(UINT message) const {
  std::lock_guard lock(mutex_);
  std::vector<ReceivedMessage> some;
  for (const ReceivedMessage& m : received_) {
    if (m.message == message) some.push_back(m);
  }
  return some;
}

void StandInWindow::clear() {
  std::lock_guard lock(mutex_);
  received_.clear();
}

void StandInWindow::setTitle(const std::string& title) { SetWindowTextA(window_, title.c_str()); }

}  // namespace standins
