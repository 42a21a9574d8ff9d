// Korvid.dll: the entry points of the TV-application plug-in and its title watch.
#include "contract/win/exports.h"
#include "contract/win/unique_handle.h"
#include "tv_control.h"

namespace {

// Local wall-clock time in whole seconds (since 1601) and the milliseconds within the second.
struct LocalClockReading {
  std::int64_t seconds;
  int milliseconds;
};

LocalClockReading ReadLocalClock() noexcept {
  SYSTEMTIME local;
  GetLocalTime(&local);
  FILETIME asFileTime;
  SystemTimeToFileTime(&local, &asFileTime);
  ULARGE_INTEGER ticks;
  ticks.LowPart = asFileTime.dwLowDateTime;
  ticks.HighPart = asFileTime.dwHighDateTime;
  return {static_cast<std::int64_t>(ticks.QuadPart / 10'000'000), local.wMilliseconds};
}

// The digit clock's origin, taken while the module is being loaded, before any entry point runs.
const std::int64_t g_digitClockOrigin = ReadLocalClock().seconds;

HWND g_hostWindow = nullptr;
korvid::TvControl g_tv;

class Win32System final : public korvid::SystemPort {
 public:
  std::uintptr_t FindScreenWindow() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(nullptr, korvid::kScreenWindowTitle));
  }
  std::intptr_t PostToScreen(std::uintptr_t window, unsigned message, std::intptr_t wParam) override {
    return PostMessageA(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), 0);
  }
  std::int32_t DigitClockNow() override {
    const LocalClockReading now = ReadLocalClock();
    return korvid::DigitClockMillis(g_digitClockOrigin, now.seconds, now.milliseconds);
  }
  std::uintptr_t FirstApplicationWindow() override {
    return reinterpret_cast<std::uintptr_t>(FindWindowA(korvid::kApplicationWindowClass, nullptr));
  }
  std::uintptr_t NextWindow(std::uintptr_t window) override {
    return reinterpret_cast<std::uintptr_t>(GetWindow(reinterpret_cast<HWND>(window), GW_HWNDNEXT));
  }
  void ReadClassName(std::uintptr_t window, char* buffer, std::size_t size) override {
    if (GetClassNameA(reinterpret_cast<HWND>(window), buffer, static_cast<int>(size)) == 0) buffer[0] = '\0';
  }
  void ReadTitle(std::uintptr_t window, char* buffer, std::size_t size) override {
    if (GetWindowTextA(reinterpret_cast<HWND>(window), buffer, static_cast<int>(size)) == 0) buffer[0] = '\0';
  }
  void SendEvent(const EventRecord& record, std::int32_t number) override {
    SendMessageA(g_hostWindow, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(&record),
                 static_cast<LPARAM>(number));
  }
};

void KillThreadTimer(UINT_PTR id) noexcept { KillTimer(nullptr, id); }
// The title watch: a window-message timer of the thread that started it, ticking every second.
using UniqueThreadTimer = contract::win::Unique<UINT_PTR, &KillThreadTimer, UINT_PTR{0}>;
UniqueThreadTimer g_titleWatch;

// Set while a tick's check runs: a host that pumps messages while it handles the event must not
// have the next tick rewrite the record it is reading.
bool g_tickRunning = false;

void CALLBACK TitleWatchTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
  if (g_tickRunning) return;
  g_tickRunning = true;
  contract::win::Guarded([] {
    Win32System system;
    g_tv.CheckTitle(false, system);
  });
  g_tickRunning = false;
}

}  // namespace

const char* __stdcall Open(const char* instanceName, HWND hostWindow, std::int32_t /*reserved*/) {
  return contract::win::Guarded(korvid::kDescription, [&] {
    g_hostWindow = hostWindow;
    g_tv.Open(instanceName);
    return korvid::kDescription;
  });
}

void __stdcall Close() {
  contract::win::Guarded([] { g_titleWatch.reset(); });
}

BOOL __stdcall ActionManual(const ActionParams* params, std::int32_t actionId) {
  return contract::win::Guarded(FALSE, [&] {
    Win32System system;
    const std::intptr_t result =
        contract::win::Guarded(std::intptr_t{0}, [&] { return g_tv.PerformAction(params, system); });
    return contract::win::FinishAction(g_hostWindow, actionId, result);
  });
}

void __stdcall StartManual(const ActionParams* params) {
  contract::win::Guarded([&] {
    if (!korvid::IsTitleWatchBlock(params)) return;
    // A running watch keeps its timer and its rhythm.
    if (!g_titleWatch) g_titleWatch.reset(SetTimer(nullptr, 0, korvid::kTitleWatchIntervalMs, TitleWatchTick));
  });
}

void __stdcall StopManual(const ActionParams* params) {
  contract::win::Guarded([&] {
    if (korvid::IsTitleWatchBlock(params)) g_titleWatch.reset();
  });
}
