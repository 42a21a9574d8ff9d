#include "tv_standin.h"

namespace standins {

TvScreenStandIn::TvScreenStandIn(std::function<void(UINT, WPARAM)> onCommand)
    : onCommand_(std::move(onCommand)),
      window_({kTvScreenClass, kTvScreenTitle, false, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                 if (message >= WM_USER && onCommand_) onCommand_(message, wParam);
                 return DefWindowProcA(window, message, wParam, lParam);
               }}) {}

ApplicationWindowStandIn::ApplicationWindowStandIn(const std::string& title)
    : window_({kTvApplicationClass, title, false, {}}) {}

}  // namespace standins
