// The TV-application plug-in's logic: command words posted to the application's screen window,
// digit entry, and the title check that reports channel changes to the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "contract/plugin_contract.h"
#include "digit_entry.h"
#include "title_parser.h"

namespace korvid {

inline constexpr const char* kDescription = "Korvid control";
inline constexpr std::string_view kDefaultInstanceName = "KORVID";
inline constexpr const char* kScreenWindowTitle = "TV Screen";
inline constexpr const char* kApplicationWindowClass = "TApplication";
inline constexpr std::string_view kGetHandleWord = "GET_HANDLE";
inline constexpr std::string_view kGetTitleEventWord = "GET_TITLE_EVENT";
inline constexpr std::string_view kTitleEventName = "TITLE";
inline constexpr unsigned kTitleWatchIntervalMs = 1000;
inline constexpr std::size_t kTitleBufferSize = 256;
// Top-level windows looked at in one title check at most: the Z-order walk must end even when
// windows are reordered while it runs.
inline constexpr int kMaxWindowsWalked = 65536;

enum class WParamRule { kZero, kParam1, kDigit };

struct Command {
  std::string_view word;
  unsigned message;
  WParamRule rule;
};

inline constexpr Command kCommands[] = {
#define TV_COMMAND(word, message, rule) {word, message, WParamRule::k##rule},
#include "tv_commands.inc"
#undef TV_COMMAND
};

// The word's row, compared whole and without regard to case; nullptr for an unknown word.
const Command* FindCommand(const char* word) noexcept;

// Whether a StartManual or StopManual block names the title watch: exactly one parameter, the
// text "TITLE" in any letter case.
bool IsTitleWatchBlock(const contract::ActionParams* params) noexcept;

// What the plug-in needs from the system. A window is an opaque non-zero number.
class SystemPort {
 public:
  virtual ~SystemPort() = default;
  // The top-level window titled "TV Screen", of any class, or 0.
  virtual std::uintptr_t FindScreenWindow() = 0;
  // Posts `message` with `wParam` and LPARAM 0; returns what the posting returned.
  virtual std::intptr_t PostToScreen(std::uintptr_t window, unsigned message, std::intptr_t wParam) = 0;
  // The digit clock now (DigitClockMillis).
  virtual std::int32_t DigitClockNow() = 0;
  // The first top-level window of class "TApplication", or 0.
  virtual std::uintptr_t FirstApplicationWindow() = 0;
  // The top-level window after `window` in Z order, or 0.
  virtual std::uintptr_t NextWindow(std::uintptr_t window) = 0;
  // Write at most size - 1 characters and a NUL into `buffer`; an unreadable name or title
  // leaves it empty.
  virtual void ReadClassName(std::uintptr_t window, char* buffer, std::size_t size) = 0;
  virtual void ReadTitle(std::uintptr_t window, char* buffer, std::size_t size) = 0;
  // Sends WM_PLUGIN_EVENT with the record's address and `number` and waits for the host.
  virtual void SendEvent(const contract::EventRecord& record, std::int32_t number) = 0;
};

// The plug-in's module state and what its entry points do with it.
class TvControl {
 public:
  TvControl() = default;
  TvControl(const TvControl&) = delete;
  TvControl& operator=(const TvControl&) = delete;

  // Open's steps on the record: zeroed, the instance name (or "KORVID"), and the title event's
  // one text parameter pointing at the zeroed title buffer.
  void Open(const char* instanceName) noexcept;

  // Performs one action and returns its result (0: not performed). The caller posts the result.
  std::intptr_t PerformAction(const contract::ActionParams* params, SystemPort& system);

  // Reads the TV application's title and sends a "TITLE" event when its number changed, or
  // always when `force` is set (unless the name is empty). Returns whether it sent one.
  bool CheckTitle(bool force, SystemPort& system);

  const contract::EventRecord& record() const noexcept { return record_; }
  std::int32_t lastReportedNumber() const noexcept { return lastReportedNumber_; }

 private:
  // Walks the "TApplication" windows in Z order for the TV application's; copies its title into
  // `title` and returns its length, or returns 0 when there is none.
  std::size_t FindApplicationTitle(SystemPort& system, char (&title)[kTitleBufferSize]);

  contract::EventRecord record_{};
  char titleBuffer_[kTitleBufferSize] = {};
  std::int32_t lastReportedNumber_ = 0;
  DigitEntry digits_;
};

}  // namespace korvid
