#include "manager_standin.h"

namespace standins {

ManagerStandIn::ManagerStandIn(std::function<void(WPARAM, LPARAM)> onCommand)
    : onCommand_(std::move(onCommand)),
      window_({kManagerClass, "Jubelon", false, [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                 if (message == kManagerCommand && onCommand_) onCommand_(wParam, lParam);
                 return DefWindowProcA(window, message, wParam, lParam);
               }}) {}

}  // namespace standins
