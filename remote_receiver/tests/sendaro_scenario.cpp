#include "sendaro_scenario.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <fstream>
#include <stdexcept>

namespace sendaro_test {

double CounterToMs(std::int64_t counter) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return static_cast<double>(counter) * 1000.0 / frequency;
}

double NowMs() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return CounterToMs(now.QuadPart);
}

std::string ExeDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string CurrentDirectory() {
  char path[MAX_PATH];
  return std::string(path, GetCurrentDirectoryA(MAX_PATH, path));
}

std::size_t ThreadCount() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  std::size_t count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

std::optional<std::size_t> HandleCount() {
  // SystemHandleInformation (16): every handle of the system, each with its process id.
  struct Entry {
    ULONG processId;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  using QueryFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return std::nullopt;
  std::vector<unsigned char> buffer(1 << 16);
  for (int attempt = 0; attempt < 12; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) {
      const auto* table = reinterpret_cast<const Table*>(buffer.data());
      std::size_t count = 0;
      for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].processId == GetCurrentProcessId();
      return count;
    }
    if (status != static_cast<NTSTATUS>(0xC0000004L)) return std::nullopt;  // other than "length mismatch"
    buffer.resize(buffer.size() * 2);
  }
  return std::nullopt;
}

StandIn::StandIn(HMODULE module) {
  const auto find = [module](const char* name) {
    FARPROC proc = GetProcAddress(module, name);
    if (proc == nullptr) throw std::runtime_error(std::string("stand-in lacks ") + name);
    return reinterpret_cast<void*>(proc);
  };
  setInitResults = reinterpret_cast<decltype(setInitResults)>(find("StandInSetInitResults"));
  setCode = reinterpret_cast<decltype(setCode)>(find("StandInSetCode"));
  queueCodes = reinterpret_cast<decltype(queueCodes)>(find("StandInQueueCodes"));
  initCalls = reinterpret_cast<decltype(initCalls)>(find("StandInInitCalls"));
  lastInitArgument = reinterpret_cast<decltype(lastInitArgument)>(find("StandInLastInitArgument"));
  readCalls = reinterpret_cast<decltype(readCalls)>(find("StandInReadCalls"));
  lastButtonRead = reinterpret_cast<decltype(lastButtonRead)>(find("StandInLastButtonRead"));
}

Scenario::Scenario(const std::string& name, const std::string& variant, const char* ini) {
  const std::string root = ExeDirectory() + "\\sendaro_cases";
  folder_ = root + "\\" + name;
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA(folder_.c_str(), nullptr);
  for (const char* stale : {"Sendaro.dll", "RemtCtrl.dll", "Sendaro.ini"}) DeleteFileA(file(stale).c_str());
  if (!CopyFileA((ExeDirectory() + "\\Sendaro.dll").c_str(), file("Sendaro.dll").c_str(), FALSE)) {
    throw std::runtime_error("cannot copy Sendaro.dll");
  }
  if (!variant.empty() &&
      !CopyFileA((ExeDirectory() + "\\" + variant + ".dll").c_str(), file("RemtCtrl.dll").c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + variant);
  }
  if (ini != nullptr) std::ofstream(file("Sendaro.ini"), std::ios::binary) << ini;
  plugin_ = std::make_unique<harness::PluginModule>(file("Sendaro.dll"));
  open_ = plugin_->get<decltype(open_)>("Open");
  close_ = plugin_->get<decltype(close_)>("Close");
  start_ = plugin_->get<decltype(start_)>("Start");
  stop_ = plugin_->get<decltype(stop_)>("Stop");
  setup_ = plugin_->get<decltype(setup_)>("Setup");
}

Scenario::~Scenario() {
  if (opened_) close_();
  plugin_.reset();
  if (preloaded_ != nullptr) FreeLibrary(preloaded_);
}

StandIn Scenario::Preload() {
  preloaded_ = LoadLibraryA(file("RemtCtrl.dll").c_str());
  if (preloaded_ == nullptr) throw std::runtime_error("cannot preload the stand-in");
  return StandIn(preloaded_);
}

const char* Scenario::Open(const char* instanceName, HWND host) {
  opened_ = true;
  return open_(instanceName, host, 0);
}

StandIn Scenario::OpenRunning(HWND host) {
  StandIn standIn = Preload();
  Open(nullptr, host);
  Start();
  return standIn;
}

MessageBoxWatcher::MessageBoxWatcher(std::string caption) : caption_(std::move(caption)) {
  thread_ = std::thread([this] {
    for (;;) {
      {
        std::lock_guard lock(mutex_);
        if (stop_) return;
      }
      HWND box = FindWindowA("#32770", caption_.c_str());
      if (box == nullptr) {
        Sleep(5);
        continue;
      }
      SeenBox seen;
      char text[1024] = {};
      GetWindowTextA(box, text, sizeof text);
      seen.caption = text;
      GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message's static control
      seen.text = text;
      const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0));
      seen.stopIcon = icon != nullptr && icon == LoadIconA(nullptr, IDI_HAND);
      seen.warningIcon = icon != nullptr && icon == LoadIconA(nullptr, IDI_EXCLAMATION);
      seen.onlyOk = GetDlgItem(box, IDOK) != nullptr && GetDlgItem(box, IDCANCEL) == nullptr &&
                    GetDlgItem(box, IDYES) == nullptr && GetDlgItem(box, IDNO) == nullptr;
      {
        std::lock_guard lock(mutex_);
        seen_.push_back(seen);
      }
      SendMessageA(box, WM_COMMAND, IDOK, 0);
      while (IsWindow(box)) Sleep(2);
    }
  });
}

MessageBoxWatcher::~MessageBoxWatcher() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  thread_.join();
}

std::vector<SeenBox> MessageBoxWatcher::seen() {
  std::lock_guard lock(mutex_);
  return seen_;
}

EventClock::EventClock(harness::RecordingHost& host, DWORD handlerSleepEvery, DWORD sleepMs) {
  host.onMessage([this, handlerSleepEvery, sleepMs](const harness::HostMessage& message) {
    if (!message.isEvent()) return;
    std::size_t count;
    {
      std::lock_guard lock(mutex_);
      events_.push_back({NowMs(), message});
      count = ++count_;
    }
    if (handlerSleepEvery != 0 && count % handlerSleepEvery == 0) Sleep(sleepMs);
  });
}

std::vector<TimedEvent> EventClock::events() {
  std::lock_guard lock(mutex_);
  return events_;
}

void EventClock::clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
}

}  // namespace sendaro_test
