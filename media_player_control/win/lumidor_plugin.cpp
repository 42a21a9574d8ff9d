// Lumidor.dll: the entry points of the media-player plug-in.
#include <atomic>

#include "contract/win/exports.h"
#include "media_player.h"

namespace {

std::atomic<HWND> g_hostWindow{nullptr};

class Win32Player final : public lumidor::PlayerPort {
 public:
  std::uintptr_t FindPlayerWindow() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(lumidor::kPlayerWindowClass, nullptr));
  }
  std::intptr_t SendCommand(std::uintptr_t window, std::uint32_t code) override {
    return SendMessageA(reinterpret_cast<HWND>(window), lumidor::WM_PLAYER_COMMAND, code, 0);
  }
};

}  // namespace

const char* __stdcall Open(const char* /*instanceName*/, HWND hostWindow, std::int32_t /*reserved*/) {
  g_hostWindow = hostWindow;
  return lumidor::kDescription;
}

BOOL __stdcall ActionManual(const ActionParams* params, std::int32_t actionId) {
  return contract::win::Guarded(FALSE, [&] {
    Win32Player player;
    const std::intptr_t result =
        contract::win::Guarded(std::intptr_t{0}, [&] { return PerformAction(params, player); });
    return contract::win::FinishAction(g_hostWindow, actionId, result);
  });
}
