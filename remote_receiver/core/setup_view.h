// What the settings window shows, without the window: the spin fields of the Timing group, the
// grid rows, the labels of a press, and the press texts handed over from the event thread.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "code_table.h"
#include "remote_settings.h"

namespace sendaro {

// The window's fixed texts.
inline constexpr const char* kMonitoringCaption = "Monitoring";
inline constexpr const char* kPressedCaption = "Pressed";
inline constexpr const char* kReleasedCaption = "Released";
inline constexpr const char* kTimingCaption = "Timing";
inline constexpr const char* kCodeLabelCaption = "Code:";
inline constexpr const char* kCloseCaption = "Close";
inline constexpr const char* kCodeColumn = "Code";
inline constexpr const char* kKeyColumn = "Key";
// Shown when the window becomes active while the sensor library is not bound.
inline constexpr const char* kSetupHelp =
    "Initial Remote Contrl Fail.\n\nSupports following hardware devices.\n1. MSI VGA Cards which with remote "
    "control sensor.\n2. MSI TV Tuner Cards (MS-8606_c)\n\nSystem Requirement:\nWindowsR 98, WindowsR Millennium, "
    "WindowsR 2000 and WindowsR XP\n\nDrivers:\nFor MSI TV Tuner Cards, please install the TV Tuner Cards' driver "
    "first,\nthen Remote Control Functions will be available.\n\nRequired Files:\n1. RemtCtrl.dll\n2. "
    "Fornvi2c.dll\n3. Nvapi9x.dll\n4. Nvgpio.dll\nNote: Please place all files above into the same plugin "
    "directory.";

// One labelled value field of the Timing group: positions inside the group box.
struct SpinField {
  std::string_view name;   // the spin control
  std::string_view label;  // the label's caption
  int labelX, labelY;
  int editX, editY;
  std::int32_t minimum, maximum, step;
  const TimingKey& setting;
};

inline constexpr SpinField kSpinFields[] = {
    {"Wait1UpDown", "Wait before repeat", 8, 16, 104, 12, 50, 1000, 50, kWaitKeys[0]},
    {"WaitNUpDown", "Repeat period", 8, 40, 104, 36, 50, 1000, 50, kWaitKeys[1]},
    {"WaitRUpDown", "Release timeout", 8, 64, 104, 60, 50, 1000, 50, kWaitKeys[2]},
    {"IntervalUpDown", "Update", 164, 16, 204, 12, 10, 1000, 10, kIntervalKey},
};

// The value one step of `delta` leads to from `position`, held at the field's bounds (no wrap).
std::int32_t SpinTarget(const SpinField& field, std::int32_t position, std::int32_t delta) noexcept;

// The window's captions that a press changes.
struct PressLabels {
  std::string code;                // "Code: 1A"
  std::string key;                 // "Key: Power"
  std::optional<std::size_t> row;  // the grid row to select (0 is the first entry), if any
};

class SetupView {
 public:
  // A new window: no code shown yet, rows copied from the table as they are now.
  void Show(const CodeTable& codes);
  const std::vector<std::pair<std::string, std::string>>& rows() const noexcept { return rows_; }
  // The first row whose code equals `codeText`, letter case ignored.
  std::optional<std::size_t> FindRow(std::string_view codeText) const;
  // A press reported by the event thread with its event text; nothing to change when `code` is
  // the code shown last.
  std::optional<PressLabels> Pressed(std::uint64_t code, std::string_view eventText);

 private:
  std::uint64_t lastShown_ = ~std::uint64_t{0};
  std::vector<std::pair<std::string, std::string>> rows_;
  std::unordered_map<std::string, std::size_t> firstRowByCode_;  // upper-case code -> first row
};

// The event texts of reported presses, in the order of their messages: the event thread adds one
// before it posts a press, the window takes it when it handles that message, so the window reads
// the text of that whole press even while the thread writes the next one into the record.
class PressTexts {
 public:
  // Older texts are dropped beyond this, should the window stop taking them.
  static constexpr std::size_t kLimit = 4096;

  void Push(std::uint64_t code, std::string_view text);
  // Undoes the last Push when its message could not be posted.
  void DropNewest();
  // The text of the oldest press of `code`; presses before it (whose messages were lost) go too.
  std::optional<std::string> Take(std::uint64_t code);
  void Clear();
  // No press is waiting for its message to be handled.
  bool empty();

 private:
  std::mutex mutex_;
  std::deque<std::pair<std::uint64_t, std::string>> texts_;
};

}  // namespace sendaro
