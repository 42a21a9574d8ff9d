// Sendaro.dll: the entry points of the remote-receiver plug-in.
#include <atomic>
#include <cstring>

#include "contract/action_params.h"
#include "contract/win/exports.h"
#include "polling_threads.h"
#include "profile_file.h"
#include "remote_constants.h"
#include "setup_form.h"

// The settings window object while Setup shows it, null otherwise.
extern "C" {
void* SetupForm = nullptr;
}

namespace {

using namespace sendaro;
using contract::win::Guarded;

// The record whose address every event carries.
contract::EventRecord g_record;

struct Plugin {
  HWND host = nullptr;
  Timings timings;
  CodeTable codes;
  GroupList groups;
  win::RemoteLibrary library;
  std::atomic<bool> setupMode{false};
  // Set while Stop waits for the threads: an entry point that the host calls from inside an event
  // it is handling then does nothing, instead of waiting for the very thread that waits for it.
  bool stopping = false;
  // Set while Setup runs: a Setup the host calls from inside the window's loop does nothing.
  bool inSetup = false;
  win::SetupWindowLink setupWindow;
  win::PollingThreads threads;
};

Plugin& State() {
  static Plugin plugin;
  return plugin;
}

win::ProfileFile OpenSettingsFile() {
  return win::ProfileFile(contract::win::SettingsFilePath(contract::win::ThisModule()));
}

void StartMonitoring(Plugin& plugin) {
  if (plugin.stopping || plugin.threads.running() || !plugin.library.bound()) return;
  if (plugin.library.Init() == 0) return;
  win::MonitorContext context;
  context.host = plugin.host;
  context.record = &g_record;
  context.codes = &plugin.codes;
  context.groups = &plugin.groups;
  context.timings = &plugin.timings;
  context.setupMode = &plugin.setupMode;
  context.read = plugin.library.reader();
  context.setupWindow = &plugin.setupWindow;
  plugin.threads.Start(context);
}

void StopMonitoring(Plugin& plugin) {
  if (plugin.stopping) return;
  plugin.stopping = true;
  plugin.threads.Stop();
  plugin.stopping = false;
}

}  // namespace

const char* __stdcall Open(const char* instanceName, HWND hostWindow, std::int32_t /*reserved*/) {
  return Guarded(kDescription, [&] {
    Plugin& plugin = State();
    StopMonitoring(plugin);
    plugin.host = hostWindow;
    std::memset(&g_record, 0, sizeof g_record);
    contract::CopyInstanceName(g_record.instanceName, instanceName, kDefaultInstanceName);
    plugin.library.Bind(contract::win::ThisModule());
    win::ProfileFile file = OpenSettingsFile();
    LoadSettings(file, plugin.timings, plugin.codes, plugin.groups);
    ReadWaits(file, plugin.timings);
    return kDescription;
  });
}

void __stdcall Close() {
  Guarded([] {
    Plugin& plugin = State();
    if (plugin.stopping) return;
    StopMonitoring(plugin);
    plugin.codes.Clear();
    plugin.library.Unload();
    plugin.groups.Clear();
  });
}

void __stdcall Start() {
  Guarded([] { StartMonitoring(State()); });
}

void __stdcall Stop() {
  Guarded([] { StopMonitoring(State()); });
}

// Shows the settings window with monitoring running in setup mode whatever its state before,
// then saves the timings, reads the settings and codes again, and leaves monitoring as it was,
// with threads that start from the new settings.
void __stdcall Setup() {
  Guarded([] {
    Plugin& plugin = State();
    if (plugin.stopping || plugin.inSetup) return;
    plugin.inSetup = true;
    struct SetupScope {
      Plugin& plugin;
      ~SetupScope() {
        plugin.inSetup = false;
        plugin.setupMode = false;
        plugin.setupWindow.window = nullptr;
        SetupForm = nullptr;
      }
    } scope{plugin};
    const bool wasMonitoring = plugin.threads.running();
    {
      win::SetupFormContext context;
      context.owner = plugin.host;
      context.codes = &plugin.codes;
      context.timings = &plugin.timings;
      context.libraryBound = plugin.library.bound();
      context.link = &plugin.setupWindow;
      context.saveInterval = [&plugin] {
        win::ProfileFile file = OpenSettingsFile();
        WriteTiming(file, plugin.timings, kIntervalKey);
      };
      win::SetupForm form(std::move(context));
      SetupForm = &form;
      plugin.setupWindow.texts.Clear();
      plugin.setupWindow.window = form.hwnd();
      plugin.setupMode = true;
      StartMonitoring(plugin);
      form.ShowModal();
      // Setup mode stays set until the threads have ended, so nothing reaches the host meanwhile.
      StopMonitoring(plugin);
      plugin.setupMode = false;
      plugin.setupWindow.window = nullptr;
      SetupForm = nullptr;
    }
    plugin.setupWindow.texts.Clear();
    win::ProfileFile file = OpenSettingsFile();
    SaveTimings(file, plugin.timings);
    LoadSettings(file, plugin.timings, plugin.codes, plugin.groups);
    if (wasMonitoring) StartMonitoring(plugin);
  });
}
