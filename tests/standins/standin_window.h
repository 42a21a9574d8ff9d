// A window that plays an outside application for the tests: it runs on a thread of its own (so a
// plug-in's SendMessage really crosses threads), records what it receives and answers as told.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace standins {

struct ReceivedMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool sent = false;  // by SendMessage from another thread
};

class StandInWindow {
 public:
  struct Options {
    std::string className;  // required
    std::string title;      // may be empty
    bool visible = false;
    // Answers a message; the default answers DefWindowProc's way. Runs on the window's thread.
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> answer;
  };

  explicit StandInWindow(Options options);
  ~StandInWindow();
  StandInWindow(const StandInWindow&) = delete;
  StandInWindow& operator=(const StandInWindow&) = delete;

  HWND hwnd() const { return window_; }
  // Messages numbered WM_USER and above, in arrival order.
  std::vector<ReceivedMessage> received() const;
  // Every message with this number, whatever its range.
  std::vector<ReceivedMessage> received(UINT message) const;
  void clear();
  // Sets the title from any thread.
  void setTitle(const std::string& title);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void run();

  Options options_;
  HWND window_ = nullptr;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<ReceivedMessage> received_;
};

}  // namespace standins
