// Jubelon.dll: the entry points of the media-manager plug-in.
#include <atomic>

#include "contract/win/exports.h"
#include "media_manager.h"

namespace {

std::atomic<HWND> g_hostWindow{nullptr};

class Win32Manager final : public jubelon::ManagerPort {
 public:
  std::uintptr_t FindManagerWindow() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(jubelon::kManagerWindowClass, nullptr));
  }
  void PostCommand(std::uintptr_t window, std::uint32_t code, contract::ParamSlot argument) override {
    PostMessageA(reinterpret_cast<HWND>(window), jubelon::WM_MANAGER_COMMAND, code, static_cast<LPARAM>(argument));
  }
};

}  // namespace

const char* __stdcall Open(const char* /*instanceName*/, HWND hostWindow, std::int32_t /*reserved*/) {
  g_hostWindow = hostWindow;
  return jubelon::kDescription;
}

BOOL __stdcall ActionManual(const ActionParams* params, std::int32_t actionId) {
  return contract::win::Guarded(FALSE, [&] {
    Win32Manager manager;
    const std::intptr_t result =
        contract::win::Guarded(std::intptr_t{0}, [&] { return jubelon::PerformAction(params, manager); });
    return contract::win::FinishAction(g_hostWindow, actionId, result);
  });
}
