// The host window of a test: created on the test's thread, it records every message that reaches
// it, copying events' texts while they are valid (during the send), as a real host must.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "contract/plugin_contract.h"

namespace harness {

struct HostMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool sent = false;             // delivered by SendMessage (as opposed to posted)
  bool fromOtherThread = false;  // sent by another thread
  // WM_PLUGIN_EVENT: copies of the record taken during the send.
  std::string instanceName;
  std::string eventText;
  std::string ext;
  std::vector<std::variant<std::string, std::int32_t>> params;
  // WM_PLUGIN_LOG: the text.
  std::string logText;

  bool isEvent() const { return message == contract::WM_PLUGIN_EVENT; }
  bool isDone() const { return message == contract::WM_PLUGIN_ACTION_DONE; }
  bool isLog() const { return message == contract::WM_PLUGIN_LOG; }
};

class RecordingHost {
 public:
  RecordingHost();
  ~RecordingHost();
  RecordingHost(const RecordingHost&) = delete;
  RecordingHost& operator=(const RecordingHost&) = delete;

  HWND hwnd() const { return window_; }

  // Dispatches messages of this thread for `milliseconds`.
  void pumpFor(DWORD milliseconds);
  // Dispatches until `done` holds or `timeoutMs` passed; returns whether it holds.
  bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
  // Dispatches what is already queued, then returns.
  void pumpPending();

  std::vector<HostMessage> messages() const;
  std::vector<HostMessage> events() const;
  std::vector<HostMessage> dones() const;
  std::vector<HostMessage> logs() const;
  void clear();

  // Called inside the window procedure for every recorded message (after it was recorded), for
  // tests that need a slow or re-entrant host.
  void onMessage(std::function<void(const HostMessage&)> handler);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void record(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  const MSG* dispatchingPosted_ = nullptr;  // the posted message being dispatched, if any
  mutable std::mutex mutex_;
  std::vector<HostMessage> messages_;
  std::function<void(const HostMessage&)> handler_;
};

}  // namespace harness
