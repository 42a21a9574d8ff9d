#include "player_standin.h"

namespace standins {

PlayerStandIn::PlayerStandIn(LRESULT answer, std::function<void(WPARAM)> onCommand)
    : answer_(answer),
      onCommand_(std::move(onCommand)),
      window_({kPlayerClass, "Lumidor", false, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                 if (message != kPlayerCommand) return DefWindowProcA(window, message, wParam, lParam);
                 if (onCommand_) onCommand_(wParam);
                 return answer_.load();
               }}) {}

}  // namespace standins
