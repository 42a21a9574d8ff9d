// RemtCtrl.dll, loaded at run time from the plug-in's own directory.
#pragma once

#include <windows.h>

#include <cstdint>

#include "contract/win/unique_handle.h"
#include "remote_binding.h"

namespace sendaro::win {

using contract::win::UniqueLibrary;

using InitRemoteCtrlFn = std::int32_t(__cdecl*)(std::int32_t);
using ReadRemoteDataFn = std::int32_t(__cdecl*)();

class RemoteLibrary final : private LibraryLoader {
 public:
  // Loads the library by its plain name with the directory of `plugin` as the current directory
  // (so the library's own dependencies are found there too), restoring the caller's directory
  // afterwards whatever happens. A failure shows one message box and leaves the library unbound.
  void Bind(HMODULE plugin);
  void Unload() override;

  // Bound: loaded, with both functions, and the sensor initialised during Bind.
  bool bound() const noexcept { return module_ && init_ != nullptr && read_ != nullptr; }
  // InitRemoteCtrl(0) again, as every Start does.
  std::int32_t Init() const { return init_(0); }
  ReadRemoteDataFn reader() const noexcept { return read_; }

 private:
  bool Load() override;
  bool HasInit() override { return init_ != nullptr; }
  bool HasRead() override { return read_ != nullptr; }
  std::int32_t CallInit() override { return Init(); }
  void ShowError(const char* message) override;

  UniqueLibrary module_;
  InitRemoteCtrlFn init_ = nullptr;
  ReadRemoteDataFn read_ = nullptr;
};

}  // namespace sendaro::win
