// Drives the settings window from a helper thread while the test's thread runs Setup's modal
// loop: finds the window and its controls by class and position, reads captions and the grid,
// clicks, and counts the reports the window receives.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

namespace sendaro_test {

class SetupWindowDriver {
 public:
  explicit SetupWindowDriver(HWND form) : form_(form) {}
  HWND form() const { return form_; }

  // The child of `className` whose top-left corner is at (x, y) of the client area, or null.
  HWND At(const char* className, int x, int y) const;
  static std::string Text(HWND window);
  // Waits until the window's text is `text`.
  static bool WaitText(HWND window, std::string_view text, DWORD timeoutMs);

  // The four spin fields by order (Wait1, WaitN, WaitR, Interval): the edit and its spin control.
  HWND Edit(int field) const;
  HWND Spin(int field) const;
  // One click on the upper or lower arrow.
  static void ClickArrow(HWND spin, bool up);

  HWND grid() const;
  int RowCount() const;
  std::string Cell(int row, int column) const;
  int SelectedRow() const;  // -1 for none
  void SelectRow(int row) const;

  void ClickClose() const;
  void CloseBox() const { PostMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0); }

 private:
  HWND form_;
};

// Counts WM_REMOTE_PRESSED and WM_REMOTE_RELEASED taken from the form thread's queue while it lives.
class ReportCounter {
 public:
  explicit ReportCounter(HWND form);
  ~ReportCounter();
  ReportCounter(const ReportCounter&) = delete;
  ReportCounter& operator=(const ReportCounter&) = delete;
  int pressed() const;
  int released() const;

 private:
  HHOOK hook_ = nullptr;
};

// Runs `steps` on a helper thread against the next settings window to be shown; closes the window
// with "Close" afterwards if the steps left it open. Construct it, then call Setup.
class SetupWindowSession {
 public:
  explicit SetupWindowSession(std::function<void(SetupWindowDriver&)> steps = {});
  ~SetupWindowSession();
  SetupWindowSession(const SetupWindowSession&) = delete;
  SetupWindowSession& operator=(const SetupWindowSession&) = delete;
  bool found() const { return found_; }
  // Joins the helper; Setup has returned by then.
  void Wait();

 private:
  std::atomic<bool> found_{false};
  std::thread thread_;
};

// The visible settings window, waited for up to `timeoutMs`.
HWND WaitForSetupWindow(DWORD timeoutMs);

}  // namespace sendaro_test
