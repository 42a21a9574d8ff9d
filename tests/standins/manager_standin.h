// The media manager as the tests see it: a top-level window of class "MJFrame" that records the
// command messages posted to it. The protocol's number is written here on its own, not taken from
// the plug-in, so a wrong constant in the plug-in shows.
#pragma once

#include "standin_window.h"

namespace standins {

inline constexpr char kManagerClass[] = "MJFrame";
inline constexpr UINT kManagerCommand = 0x83E8;
inline constexpr WPARAM kManagerExitCode = 20007;

class ManagerStandIn {
 public:
  // `onCommand` runs on the manager's thread for every command it receives.
  explicit ManagerStandIn(std::function<void(WPARAM code, LPARAM argument)> onCommand = {});

  HWND hwnd() const { return window_.hwnd(); }
  std::vector<ReceivedMessage> commands() const { return window_.received(kManagerCommand); }
  std::vector<ReceivedMessage> received() const { return window_.received(); }
  void clear() { window_.clear(); }

 private:
  std::function<void(WPARAM, LPARAM)> onCommand_;
  StandInWindow window_;
};

}  // namespace standins
