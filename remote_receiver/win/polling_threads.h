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
#include "setup_view.h"

namespace sendaro::win {

using contract::win::UniqueHandle;

// The settings window as the event thread reaches it: its handle while it is shown, and the texts
// of the presses posted to it.
struct SetupWindowLink {
  std::atomic<HWND> window{nullptr};
  PressTexts texts;
};

// What the threads read while they run; all of it outlives the run.
struct MonitorContext {
  HWND host = nullptr;
  contract::EventRecord* record = nullptr;
  const CodeTable* codes = nullptr;
  const GroupList* groups = nullptr;
  const Timings* timings = nullptr;
  const std::atomic<bool>* setupMode = nullptr;
  ReadRemoteDataFn read = nullptr;
  SetupWindowLink* setupWindow = nullptr;
};

// The event thread's view of the system: the tick count, the host window, the reading event.
class Win32EventPorts final : public EventPorts {
 public:
  Win32EventPorts(const MonitorContext& context, HANDLE readingEvent)
      : context_(context), readingEvent_(readingEvent) {}
  std::uint32_t Now() override;
  bool SetupMode() override;
  void SendEvent(std::intptr_t state) override;
  bool PostToSetupWindow(unsigned message, std::uint32_t wParam, std::uint32_t lParam) override;
  void ResetReadingEvent() override;
  bool WaitReadingEvent(std::optional<std::uint32_t> timeoutMs) override;
  // True while the event thread waits for the host to handle an event.
  bool sending() const noexcept { return sending_.load(); }

 private:
  const MonitorContext& context_;
  HANDLE readingEvent_;
  std::atomic<bool> sending_{false};
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
  // thread cannot block it; called by the host from inside its handler of an event, it first
  // releases the event thread from that send.
  void Stop();

 private:
  static DWORD WINAPI ReaderMain(void* self);
  static DWORD WINAPI EventMain(void* self);
  void StopReader();

  MonitorContext context_;
  std::optional<ReadingSlot> slot_;
  std::optional<Win32EventPorts> ports_;
  // The event thread's state with its code text and group name buffers, which the record points
  // to. Kept until the next Start, so a host still reading the record after Stop reads live memory.
  std::optional<ButtonEvents> events_;
  std::atomic<std::int32_t> readerStop_{0};
  std::atomic<std::int32_t> eventStop_{0};
  UniqueHandle readingEvent_;  // manual reset: set per reading and by Stop, reset by the event thread
  UniqueHandle readerWake_;    // manual reset: ends the reader's pause at once when it is to stop
  UniqueHandle reader_;
  UniqueHandle eventThread_;
};

}  // namespace sendaro::win
