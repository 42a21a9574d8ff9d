// The TV application as the tests see it: its screen window, a top-level window titled
// "TV Screen" that records the commands posted to it, and its application window of class
// "TApplication" whose title carries the channel. Other programs' "TApplication" windows are made
// with the same class. The numbers and texts are written here on their own, not taken from the
// plug-in, so a wrong constant in the plug-in shows.
#pragma once

#include <string>

#include "standin_window.h"

namespace standins {

inline constexpr char kTvScreenTitle[] = "TV Screen";
inline constexpr char kTvScreenClass[] = "TvScreenStandIn";
inline constexpr char kTvApplicationClass[] = "TApplication";
inline constexpr char kTvTitlePrefix[] = "The Korvid -";
inline constexpr UINT kTvChannelMessage = 0x0400 + 199;
inline constexpr UINT kTvQuitMessage = 0x0400 + 255;

class TvScreenStandIn {
 public:
  // `onCommand` runs on the screen's thread for every message numbered WM_USER and above.
  explicit TvScreenStandIn(std::function<void(UINT message, WPARAM wParam)> onCommand = {});

  HWND hwnd() const { return window_.hwnd(); }
  std::vector<ReceivedMessage> received() const { return window_.received(); }
  void clear() { window_.clear(); }

 private:
  std::function<void(UINT, WPARAM)> onCommand_;
  StandInWindow window_;
};

// A top-level window of class "TApplication" with the given title. A window made later comes
// before the earlier ones in Z order.
class ApplicationWindowStandIn {
 public:
  explicit ApplicationWindowStandIn(const std::string& title);

  HWND hwnd() const { return window_.hwnd(); }
  void setTitle(const std::string& title) { window_.setTitle(title); }

 private:
  StandInWindow window_;
};

}  // namespace standins
