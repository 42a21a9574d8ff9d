// Owners of system handles: each closes what it holds when it is reset or destroyed.
#pragma once

#include <windows.h>

#include <utility>

namespace sendaro::win {

template <class Handle, BOOL(WINAPI* CloseFn)(Handle)>
class UniqueHandleOf {
 public:
  UniqueHandleOf() = default;
  explicit UniqueHandleOf(Handle handle) noexcept : handle_(handle) {}
  ~UniqueHandleOf() { reset(); }
  UniqueHandleOf(UniqueHandleOf&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandleOf& operator=(UniqueHandleOf&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandleOf(const UniqueHandleOf&) = delete;
  UniqueHandleOf& operator=(const UniqueHandleOf&) = delete;

  Handle get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }
  void reset() noexcept {
    if (handle_ != nullptr) CloseFn(std::exchange(handle_, nullptr));
  }

 private:
  Handle handle_ = nullptr;
};

// Events and threads (null when empty).
using UniqueHandle = UniqueHandleOf<HANDLE, &CloseHandle>;
using UniqueLibrary = UniqueHandleOf<HMODULE, &FreeLibrary>;

}  // namespace sendaro::win
