// What the Sendaro Wine tests share: a folder per scenario holding copies of Sendaro.dll, a
// stand-in variant as RemtCtrl.dll and a Sendaro.ini; the stand-in's test functions; a watcher
// that reads and closes the plug-in's message boxes; event times; thread and handle counts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "plugin_module.h"
#include "recording_host.h"

namespace sendaro_test {

// Milliseconds of the performance counter.
double NowMs();
double CounterToMs(std::int64_t counter);
std::string ExeDirectory();
std::string CurrentDirectory();
std::size_t ThreadCount();
// Handles of this process, where the system can count them.
std::optional<std::size_t> HandleCount();

// The test functions of a loaded stand-in.
struct StandIn {
  explicit StandIn(HMODULE module);
  void (*setInitResults)(std::int32_t first, std::int32_t later);
  void (*setCode)(std::int32_t code);
  void (*queueCodes)(const std::int32_t* codes, std::int32_t count);
  std::int32_t (*initCalls)();
  std::int32_t (*lastInitArgument)();
  std::int32_t (*readCalls)();
  std::int64_t (*lastButtonRead)();
  void queue(std::initializer_list<std::int32_t> codes) {
    const std::vector<std::int32_t> list(codes);
    queueCodes(list.data(), static_cast<std::int32_t>(list.size()));
  }
};

class Scenario {
 public:
  // `variant`: the stand-in build copied as RemtCtrl.dll, or "" for none; `ini`: the settings file's
  // text, or nullptr for none.
  Scenario(const std::string& name, const std::string& variant, const char* ini);
  ~Scenario();
  Scenario(const Scenario&) = delete;
  Scenario& operator=(const Scenario&) = delete;

  const std::string& folder() const { return folder_; }
  std::string file(const char* name) const { return folder_ + "\\" + name; }

  // Loads the stand-in copy ahead of Open, so that a test can script it first; Open then finds it
  // already loaded under its name.
  StandIn Preload();
  // The RemtCtrl.dll the process has loaded now, if any.
  static HMODULE LoadedLibrary() { return GetModuleHandleA("RemtCtrl.dll"); }

  const char* Open(const char* instanceName, HWND host);
  // Preload, Open with the default instance name, Start: a running plug-in with a scriptable sensor.
  StandIn OpenRunning(HWND host);
  void Close() { close_(); }
  void Start() { start_(); }
  void Stop() { stop_(); }
  void Setup() { setup_(); }

 private:
  std::string folder_;
  HMODULE preloaded_ = nullptr;
  std::unique_ptr<harness::PluginModule> plugin_;
  bool opened_ = false;
  const char*(__stdcall* open_)(const char*, HWND, std::int32_t) = nullptr;
  void(__stdcall* close_)() = nullptr;
  void(__stdcall* start_)() = nullptr;
  void(__stdcall* stop_)() = nullptr;
  void(__stdcall* setup_)() = nullptr;
};

// A message box as the watcher found it.
struct SeenBox {
  std::string caption;
  std::string text;
  bool stopIcon = false;
  bool warningIcon = false;
  bool onlyOk = false;  // an OK button and no other
};

// Watches for top-level dialog boxes with `caption` on a thread of its own, reads each and
// presses its OK button.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(std::string caption);
  ~MessageBoxWatcher();
  std::vector<SeenBox> seen();

 private:
  std::string caption_;
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  bool stop_ = false;
  std::thread thread_;
};

struct TimedEvent {
  double ms;
  harness::HostMessage message;
  std::intptr_t state() const { return static_cast<std::intptr_t>(message.lParam); }
};

// Events of a host with the time at which the host got each.
class EventClock {
 public:
  explicit EventClock(harness::RecordingHost& host, DWORD handlerSleepEvery = 0, DWORD sleepMs = 0);
  std::vector<TimedEvent> events();
  void clear();

 private:
  std::mutex mutex_;
  std::vector<TimedEvent> events_;
  std::size_t count_ = 0;
};

}  // namespace sendaro_test
