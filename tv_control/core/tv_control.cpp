#include "tv_control.h"

#include <climits>
#include <cstring>

#include "contract/action_params.h"

namespace korvid {
namespace {

bool IsWord(const char* text, std::string_view word) noexcept {
  return contract::SameWord(contract::BoundedText(text, word.size() + 1), word);
}

}  // namespace

const Command* FindCommand(const char* word) noexcept { return contract::FindWord(kCommands, word); }

bool IsTitleWatchBlock(const contract::ActionParams* params) noexcept {
  return contract::AcceptsBlock(params, 1, 1, 1) && IsWord(contract::ParamsView(params).text(0), kTitleEventName);
}

void TvControl::Open(const char* instanceName) noexcept {
  std::memset(&record_, 0, sizeof record_);
  std::memset(titleBuffer_, 0, sizeof titleBuffer_);
  contract::CopyInstanceName(record_.instanceName, instanceName, kDefaultInstanceName);
  std::memcpy(record_.ext, "EXT", 4);
  record_.params.count = 1;
  record_.params.kind[0] = contract::kKindText;
  record_.params.value[0] = reinterpret_cast<contract::ParamSlot>(titleBuffer_);
}

std::intptr_t TvControl::PerformAction(const contract::ActionParams* params, SystemPort& system) {
  if (!contract::AcceptsBlock(params, 1, INT_MAX, 1)) return 0;
  // The screen window is looked up first, for every word.
  const std::uintptr_t screen = system.FindScreenWindow();
  if (screen == 0) return 0;
  const char* word = contract::ParamsView(params).text(0);
  if (IsWord(word, kGetHandleWord)) return static_cast<std::intptr_t>(screen);
  if (IsWord(word, kGetTitleEventWord)) return CheckTitle(true, system) ? 1 : 0;
  const Command* command = FindCommand(word);
  if (command == nullptr) return 0;
  // Parameter 1 is the host's 32-bit number, read whatever its kind and the count say.
  const auto parameter1 = static_cast<std::int32_t>(params->value[1]);
  std::intptr_t wParam = 0;
  switch (command->rule) {
    case WParamRule::kZero:
      break;
    case WParamRule::kParam1:
      wParam = parameter1;
      break;
    case WParamRule::kDigit:
      wParam = digits_.Press(command->word.back() - '0', system.DigitClockNow(), parameter1);
      break;
  }
  return system.PostToScreen(screen, command->message, wParam);
}

std::size_t TvControl::FindApplicationTitle(SystemPort& system, char (&title)[kTitleBufferSize]) {
  char className[kTitleBufferSize];
  std::uintptr_t window = system.FirstApplicationWindow();
  for (int walked = 0; window != 0 && walked < kMaxWindowsWalked; ++walked, window = system.NextWindow(window)) {
    className[0] = '\0';
    system.ReadClassName(window, className, sizeof className);
    className[sizeof className - 1] = '\0';
    if (!contract::SameWord(contract::BoundedText(className, sizeof className), kApplicationWindowClass)) continue;
    // At most 254 characters of the title, whatever the window reports.
    title[0] = '\0';
    system.ReadTitle(window, title, kTitleBufferSize - 1);
    title[kTitleBufferSize - 2] = '\0';
    const std::string_view text = contract::BoundedText(title, kTitleBufferSize - 2);
    if (!text.empty() && HasTitlePrefix(text)) return text.size();
  }
  return 0;
}

bool TvControl::CheckTitle(bool force, SystemPort& system) {
  // The title is read aside: a check that finds nothing leaves the event's buffer as it was.
  char title[kTitleBufferSize] = {};
  const std::size_t length = FindApplicationTitle(system, title);
  if (length == 0) return false;
  const ParsedTitle parsed = ParseTitle({title, length});
  if (parsed.number == lastReportedNumber_ && !force) return false;
  lastReportedNumber_ = parsed.number;
  std::memset(titleBuffer_, 0, sizeof titleBuffer_);
  std::memcpy(titleBuffer_, parsed.name.data(), parsed.name.size());
  if (parsed.name.empty()) return false;
  std::memset(record_.eventText, 0, sizeof record_.eventText);
  std::memcpy(record_.eventText, kTitleEventName.data(), kTitleEventName.size());
  system.SendEvent(record_, parsed.number);
  return true;
}

}  // namespace korvid
