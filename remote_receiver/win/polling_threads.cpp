#include "polling_threads.h"

#include "remote_constants.h"

namespace sendaro::win {
namespace {

class Win32EventPorts final : public EventPorts {
 public:
  Win32EventPorts(const MonitorContext& context, HANDLE readingEvent)
      : context_(context), readingEvent_(readingEvent) {}

  std::uint32_t Now() override { return GetTickCount(); }
  bool SetupMode() override { return context_.setupMode->load(); }
  void SendEvent(std::intptr_t state) override {
    SendMessageA(context_.host, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(context_.record), state);
  }
  // This build has no settings window, so there is never one to post to.
  bool PostToSetupWindow(unsigned, std::uint32_t, std::uint32_t) override { return false; }
  void ResetReadingEvent() override { ResetEvent(readingEvent_); }
  bool WaitReadingEvent(std::optional<std::uint32_t> timeoutMs) override {
    return WaitForSingleObject(readingEvent_, timeoutMs ? *timeoutMs : INFINITE) != WAIT_TIMEOUT;
  }

 private:
  const MonitorContext& context_;
  HANDLE readingEvent_;
};

// Waits for a thread to end while handling the messages that other threads send to this one.
void JoinHandlingSentMessages(HANDLE thread) {
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjectsEx(1, &thread, INFINITE, QS_SENDMESSAGE, 0);
    if (result == WAIT_OBJECT_0) return;
    if (result == WAIT_OBJECT_0 + 1) {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      continue;
    }
    WaitForSingleObject(thread, INFINITE);
    return;
  }
}

UniqueHandle CreateManualResetEvent() { return UniqueHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr)); }

}  // namespace

DWORD WINAPI PollingThreads::ReaderMain(void* param) {
  auto& self = *static_cast<PollingThreads*>(param);
  while (self.readerStop_.load() == 0) {
    const std::int32_t code = self.context_.read();
    if (code != kNothingRead) {
      self.slot_->StorePressed(static_cast<std::uint32_t>(code));
      SetEvent(self.readingEvent_.get());
    }
    // The pause of Interval as it is set now; a negative value reads as a very long pause, which
    // the stop request still ends at once.
    WaitForSingleObject(self.readerWake_.get(), static_cast<DWORD>(self.context_.timings->interval.load()));
  }
  return 0;
}

DWORD WINAPI PollingThreads::EventMain(void* param) {
  auto& self = *static_cast<PollingThreads*>(param);
  Win32EventPorts ports(self.context_, self.readingEvent_.get());
  ButtonEvents events(*self.context_.record, *self.context_.codes, *self.context_.groups, *self.context_.timings,
                      *self.slot_, ports);
  events.Run(self.eventStop_);
  return 0;
}

bool PollingThreads::Start(const MonitorContext& context) {
  if (running()) return true;
  context_ = context;
  // A fresh slot per run: a reading left untaken by the last run is not handled by this one.
  slot_.emplace();
  // The reader signals the reading event, so both events exist before any thread does.
  readingEvent_ = CreateManualResetEvent();
  readerWake_ = CreateManualResetEvent();
  if (!readingEvent_ || !readerWake_) {
    readingEvent_.reset();
    readerWake_.reset();
    return false;
  }
  readerStop_ = 0;
  reader_ = UniqueHandle(CreateThread(nullptr, 0, &ReaderMain, this, 0, nullptr));
  if (reader_) {
    eventStop_ = 0;
    eventThread_ = UniqueHandle(CreateThread(nullptr, 0, &EventMain, this, 0, nullptr));
  }
  if (!eventThread_) {
    StopReader();
    readingEvent_.reset();
    readerWake_.reset();
    return false;
  }
  return true;
}

void PollingThreads::StopReader() {
  if (!reader_) return;
  readerStop_ = 1;
  SetEvent(readerWake_.get());
  JoinHandlingSentMessages(reader_.get());
  reader_.reset();
}

void PollingThreads::Stop() {
  if (!running()) return;
  eventStop_ = 1;
  SetEvent(readingEvent_.get());
  JoinHandlingSentMessages(eventThread_.get());
  eventThread_.reset();
  StopReader();
  // Closed only now: the reader signals it until it has ended.
  readingEvent_.reset();
  readerWake_.reset();
}

}  // namespace sendaro::win
