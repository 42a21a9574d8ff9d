// The settings window of the remote receiver (class TSetupForm): shows each press's code and
// button name, the code table, and the four timing values, which it changes at once.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "polling_threads.h"
#include "setup_view.h"

namespace sendaro::win {

struct SetupFormContext {
  HWND owner = nullptr;  // disabled while the window is shown
  const CodeTable* codes = nullptr;
  Timings* timings = nullptr;
  bool libraryBound = false;
  SetupWindowLink* link = nullptr;     // the texts of the presses posted to the window
  std::function<void()> saveInterval;  // called when the window is hidden
};

class SetupForm {
 public:
  // Creates the window hidden, centred on the screen.
  explicit SetupForm(SetupFormContext context);
  ~SetupForm();
  SetupForm(const SetupForm&) = delete;
  SetupForm& operator=(const SetupForm&) = delete;

  HWND hwnd() const noexcept;
  // Fills and shows the window, and handles this thread's messages until it is closed ("Close"
  // or the close box), which hides it and saves Interval.
  void ShowModal();

 private:
  struct Window;
  std::unique_ptr<Window> window_;
};

}  // namespace sendaro::win
