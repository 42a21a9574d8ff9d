// A stand-in for the sensor library, for the tests: the functions the plug-in calls, plus a few
// more through which a test says what the sensor reports and reads what the plug-in did. Built in
// variants from this one source: STANDIN_NO_INIT and STANDIN_NO_READ leave a function out,
// STANDIN_INIT_FAILS makes InitRemoteCtrl return 0 from the start. For a run in another process
// (the demo) a file RemtCtrl.script beside the library can script the sensor instead: lines of
// "MS CODE" (decimal milliseconds since the first poll, hexadecimal code, FF for nothing), each
// code reported from its time on.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#define STANDIN_EXPORT extern "C" __declspec(dllexport)

namespace {

#ifdef STANDIN_INIT_FAILS
constexpr std::int32_t kDefaultInit = 0;
#else
constexpr std::int32_t kDefaultInit = 1;
#endif

std::atomic<std::int32_t> g_firstInit{kDefaultInit};
std::atomic<std::int32_t> g_laterInit{kDefaultInit};
std::atomic<std::int32_t> g_initCalls{0};
std::atomic<std::int32_t> g_lastInitArgument{-1};
std::atomic<std::int32_t> g_readCalls{0};
std::atomic<std::int32_t> g_steadyCode{255};
std::atomic<std::int64_t> g_lastButtonRead{0};  // performance counter of the last code other than 255
std::mutex g_queueMutex;
std::vector<std::int32_t> g_queue;  // codes reported once each before the steady code

[[maybe_unused]] std::int64_t Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

struct Script {
  std::vector<std::pair<double, std::int32_t>> steps;  // (ms since the first poll, code)
  double firstPollMs = -1;
};

[[maybe_unused]] double CounterMs() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(Counter()) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Read once, at the first poll, from the folder of this library.
[[maybe_unused]] Script& TheScript() {
  static Script script = [] {
    Script loaded;
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&TheScript), &self);
    char path[MAX_PATH];
    std::string name(path, GetModuleFileNameA(self, path, MAX_PATH));
    name = name.substr(0, name.find_last_of('\\') + 1) + "RemtCtrl.script";
    if (std::FILE* file = std::fopen(name.c_str(), "r")) {
      double ms;
      unsigned code;
      while (std::fscanf(file, "%lf %x", &ms, &code) == 2)
        loaded.steps.emplace_back(ms, static_cast<std::int32_t>(code));
      std::fclose(file);
    }
    return loaded;
  }();
  return script;
}

}  // namespace

#ifndef STANDIN_NO_INIT
STANDIN_EXPORT std::int32_t __cdecl InitRemoteCtrl(std::int32_t argument) {
  g_lastInitArgument = argument;
  return ++g_initCalls == 1 ? g_firstInit.load() : g_laterInit.load();
}
#endif

#ifndef STANDIN_NO_READ
STANDIN_EXPORT std::int32_t __cdecl ReadRemoteData() {
  ++g_readCalls;
  std::int32_t code = g_steadyCode;
  Script& script = TheScript();
  if (!script.steps.empty()) {
    const double now = CounterMs();
    if (script.firstPollMs < 0) script.firstPollMs = now;
    for (const auto& [at, scripted] : script.steps) {
      if (at <= now - script.firstPollMs) code = scripted;
    }
  }
  {
    std::lock_guard lock(g_queueMutex);
    if (!g_queue.empty()) {
      code = g_queue.front();
      g_queue.erase(g_queue.begin());
    }
  }
  if (code != 255) g_lastButtonRead = Counter();
  return code;
}
#endif

// What InitRemoteCtrl returns at its first call and at every later one.
STANDIN_EXPORT void StandInSetInitResults(std::int32_t first, std::int32_t later) {
  g_firstInit = first;
  g_laterInit = later;
}
// The code reported at every poll (255: nothing).
STANDIN_EXPORT void StandInSetCode(std::int32_t code) { g_steadyCode = code; }
// Codes reported at the next polls, one each, before the steady code again.
STANDIN_EXPORT void StandInQueueCodes(const std::int32_t* codes, std::int32_t count) {
  std::lock_guard lock(g_queueMutex);
  g_queue.insert(g_queue.end(), codes, codes + count);
}
STANDIN_EXPORT std::int32_t StandInInitCalls() { return g_initCalls; }
STANDIN_EXPORT std::int32_t StandInLastInitArgument() { return g_lastInitArgument; }
STANDIN_EXPORT std::int32_t StandInReadCalls() { return g_readCalls; }
STANDIN_EXPORT std::int64_t StandInLastButtonRead() { return g_lastButtonRead; }
