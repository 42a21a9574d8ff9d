// Loads a plug-in DLL for a test and resolves its exports by their plain names.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace harness {

class PluginModule {
 public:
  explicit PluginModule(const std::string& fileName) : module_(LoadLibraryA(fileName.c_str())) {
    if (module_ == nullptr) throw std::runtime_error("cannot load " + fileName);
  }
  ~PluginModule() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  HMODULE handle() const { return module_; }
  FARPROC find(const char* name) const { return GetProcAddress(module_, name); }

  // The export `name` as a function of type Fn; throws when the plug-in lacks it.
  template <class Fn>
  Fn get(const char* name) const {
    FARPROC proc = find(name);
    if (proc == nullptr) throw std::runtime_error(std::string("missing export ") + name);
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
  }

 private:
  HMODULE module_;
};

}  // namespace harness
