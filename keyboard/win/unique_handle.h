// Owners of system handles: one move-only template, one alias per release function, so every
// early return and every Close releases what was made.
#pragma once

#include <windows.h>

#include <utility>

namespace keyboard::win {

template <class Handle, auto Release, auto Invalid = static_cast<Handle>(nullptr)>
class Unique {
 public:
  Unique() noexcept = default;
  explicit Unique(Handle handle) noexcept : handle_(handle) {}
  ~Unique() { reset(); }
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Invalid; }
  Handle release() noexcept { return std::exchange(handle_, Invalid); }
  void reset(Handle handle = Invalid) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Invalid) Release(old);
  }

 private:
  Handle handle_ = Invalid;
};

using UniqueHandle = Unique<HANDLE, &CloseHandle>;
using UniqueHook = Unique<HHOOK, &UnhookWindowsHookEx>;
using UniqueWindow = Unique<HWND, &DestroyWindow>;

}  // namespace keyboard::win
