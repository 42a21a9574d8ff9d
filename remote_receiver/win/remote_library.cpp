#include "remote_library.h"

#include <string>

#include "remote_constants.h"

namespace sendaro::win {
namespace {

constexpr char kLibraryName[] = "RemtCtrl.dll";

// The folder of a module, without its file name and with the final separator.
std::string ModuleDirectory(HMODULE module) {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // cut: try again with room for a long path
  }
  const std::size_t separator = path.find_last_of("\\/");
  path.resize(separator == std::string::npos ? 0 : separator + 1);
  return path;
}

// Makes `directory` the current directory for this object's life and then restores the old one.
class ScopedCurrentDirectory {
 public:
  explicit ScopedCurrentDirectory(const std::string& directory) {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    previous_.resize(size);
    const DWORD length = GetCurrentDirectoryA(size, previous_.data());
    previous_.resize(length < size ? length : 0);
    if (!directory.empty()) SetCurrentDirectoryA(directory.c_str());
  }
  ~ScopedCurrentDirectory() {
    if (!previous_.empty()) SetCurrentDirectoryA(previous_.c_str());
  }
  ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
  ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

 private:
  std::string previous_;
};

template <class Fn>
Fn FindFunction(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void RemoteLibrary::Bind(HMODULE plugin) {
  Unload();
  const ScopedCurrentDirectory inPluginDirectory(ModuleDirectory(plugin));
  BindRemoteLibrary(*this);
}

bool RemoteLibrary::Load() {
  module_ = UniqueLibrary(LoadLibraryA(kLibraryName));
  if (!module_) return false;
  init_ = FindFunction<InitRemoteCtrlFn>(module_.get(), "InitRemoteCtrl");
  read_ = FindFunction<ReadRemoteDataFn>(module_.get(), "ReadRemoteData");
  return true;
}

void RemoteLibrary::Unload() {
  init_ = nullptr;
  read_ = nullptr;
  module_.reset();
}

void RemoteLibrary::ShowError(const char* message) { MessageBoxA(nullptr, message, kDescription, MB_OK | MB_ICONSTOP); }

}  // namespace sendaro::win
