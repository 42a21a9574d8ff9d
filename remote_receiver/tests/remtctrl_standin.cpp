// A stand-in for the sensor library, for the tests: the functions the plug-in calls, plus a few
// more through which a test says what the sensor reports and reads what the plug-in did. Built in
// variants from this one source: STANDIN_NO_INIT and STANDIN_NO_READ leave a function out,
// STANDIN_INIT_FAILS makes InitRemoteCtrl return 0 from the start.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
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
