// The media player as the tests see it: a top-level window of class "LumidorFront" that answers its
// command message with a value the test chooses. The protocol's numbers are written here on their
// own, not taken from the plug-in, so a wrong constant in the plug-in shows.
#pragma once

#include <atomic>

#include "standin_window.h"

namespace standins {

inline constexpr char kPlayerClass[] = "LumidorFront";
inline constexpr UINT kPlayerCommand = 0x89C8;
inline constexpr UINT kPlayerExitCode = 453;

class PlayerStandIn {
 public:
  // `onCommand` runs on the player's thread for every command, before it is answered.
  explicit PlayerStandIn(LRESULT answer = 1, std::function<void(WPARAM code)> onCommand = {});

  HWND hwnd() const { return window_.hwnd(); }
  void setAnswer(LRESULT answer) { answer_ = answer; }
  std::vector<ReceivedMessage> commands() const { return window_.received(kPlayerCommand); }
  std::vector<ReceivedMessage> received() const { return window_.received(); }
  void clear() { window_.clear(); }

 private:
  std::atomic<LRESULT> answer_;
  std::function<void(WPARAM)> onCommand_;
  StandInWindow window_;
};

}  // namespace standins
