#include "polling_threads.h"

#include <cstring>

#include "remote_constants.h"

namespace sendaro::win {
namespace {

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

std::uint32_t Win32EventPorts::Now() { return GetTickCount(); }
bool Win32EventPorts::SetupMode() { return context_.setupMode->load(); }

void Win32EventPorts::SendEvent(std::intptr_t state) {
  sending_ = true;
  SendMessageA(context_.host, contract::WM_PLUGIN_EVENT, reinterpret_cast<WPARAM>(context_.record), state);
  sending_ = false;
}

bool Win32EventPorts::PostToSetupWindow(unsigned message, std::uint32_t wParam, std::uint32_t lParam) {
  SetupWindowLink* link = context_.setupWindow;
  HWND window = link ? link->window.load() : nullptr;
  if (!window) return false;
  // The text of this press goes with its message: the window handles it later, when this thread
  // may be writing another press into the record.
  const bool pressed = message == WM_REMOTE_PRESSED;
  if (pressed) {
    const char* text = context_.record->eventText;
    link->texts.Push((std::uint64_t{wParam} << 32) | lParam,
                     std::string_view(text, strnlen(text, sizeof context_.record->eventText)));
  }
  if (PostMessageA(window, message, wParam, lParam)) return true;
  if (pressed) link->texts.DropNewest();
  return false;
}

void Win32EventPorts::ResetReadingEvent() { ResetEvent(readingEvent_); }

bool Win32EventPorts::WaitReadingEvent(std::optional<std::uint32_t> timeoutMs) {
  return WaitForSingleObject(readingEvent_, timeoutMs ? *timeoutMs : INFINITE) != WAIT_TIMEOUT;
}

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
  self.events_->Run(self.eventStop_);
  return 0;
}

bool PollingThreads::Start(const MonitorContext& context) {
  if (running()) return true;
  context_ = context;
  events_.reset();
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
  ports_.emplace(context_, readingEvent_.get());
  events_.emplace(*context_.record, *context_.codes, *context_.groups, *context_.timings, *slot_, *ports_);
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
  // Called from the host's handler of the event being sent: the event thread waits for this very
  // handler, so it is answered now (the host's result is never used) and can see the stop flag.
  if (ports_->sending() && (InSendMessageEx(nullptr) & (ISMEX_SEND | ISMEX_REPLIED)) == ISMEX_SEND) ReplyMessage(0);
  JoinHandlingSentMessages(eventThread_.get());
  eventThread_.reset();
  StopReader();
  // Closed only now: the reader signals it until it has ended.
  readingEvent_.reset();
  readerWake_.reset();
}

}  // namespace sendaro::win
