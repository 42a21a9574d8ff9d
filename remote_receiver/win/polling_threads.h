// The reader thread and the event thread of one monitoring run, with the reading slot and the
// events they share.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <optional>

#include "button_events.h"
#include "contract/win/unique_handle.h"
#include "remote_library.h"

namespace sendaro::win {

using contract::win::UniqueHandle;

// What the threads read while they run; all of it outlives the run.
struct MonitorContext {
  HWND host = nullptr;
  contract::EventRecord* record = nullptr;
  const CodeTable* codes = nullptr;
  const GroupList* groups = nullptr;
  const Timings* timings = nullptr;
  const std::atomic<bool>* setupMode = nullptr;
  ReadRemoteDataFn read = nullptr;
};

class PollingThreads {
 public:
  PollingThreads() = default;
  ~PollingThreads() { Stop(); }
  PollingThreads(const PollingThreads&) = delete;
  PollingThreads& operator=(const PollingThreads&) = delete;

  bool running() const noexcept { return static_cast<bool>(eventThread_); }
  // Creates the events and both threads; on any failure undoes what it did and returns false.
  bool Start(const MonitorContext& context);
  // Ends the event thread, then the reader, then closes the events. While it waits it handles
  // messages sent to the calling thread, so an event the host is still to receive on this very
  // thread cannot block it.
  void Stop();

 private:
  static DWORD WINAPI ReaderMain(void* self);
  static DWORD WINAPI EventMain(void* self);
  void StopReader();

  MonitorContext context_;
  std::optional<ReadingSlot> slot_;
  std::atomic<std::int32_t> readerStop_{0};
  std::atomic<std::int32_t> eventStop_{0};
  UniqueHandle readingEvent_;  // manual reset: set per reading and by Stop, reset by the event thread
  UniqueHandle readerWake_;    // manual reset: ends the reader's pause at once when it is to stop
  UniqueHandle reader_;
  UniqueHandle eventThread_;
};

}  // namespace sendaro::win
