// A scripted system for the TV-application core: a Z-ordered list of top-level windows, a digit
// clock the test sets, and records of what was posted and sent.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "contract/action_params.h"
#include "contract/params_block.h"
#include "tv_control.h"

namespace korvid::testing {

struct FakeWindow {
  std::uintptr_t id;
  std::string className;
  std::string title;
};

struct PostedCommand {
  unsigned message;
  std::intptr_t wParam;
  bool operator==(const PostedCommand&) const = default;
};

struct SentEvent {
  std::string eventText;
  std::string title;
  std::int32_t number;
  bool operator==(const SentEvent&) const = default;
};

class FakeSystem final : public SystemPort {
 public:
  std::uintptr_t screen = 0x5C;
  std::intptr_t postResult = 1;
  std::int32_t now = 0;
  std::vector<FakeWindow> windows;  // in Z order, the first on top
  std::vector<PostedCommand> posted;
  std::vector<SentEvent> events;
  int screenLookups = 0;
  int windowsRead = 0;

  std::uintptr_t FindScreenWindow() override {
    ++screenLookups;
    return screen;
  }
  std::intptr_t PostToScreen(std::uintptr_t window, unsigned message, std::intptr_t wParam) override {
    EXPECT_EQ(window, screen);
    posted.push_back({message, wParam});
    return postResult;
  }
  std::int32_t DigitClockNow() override { return now; }
  std::uintptr_t FirstApplicationWindow() override {
    for (const FakeWindow& window : windows) {
      if (contract::SameWord(window.className, kApplicationWindowClass)) return window.id;
    }
    return 0;
  }
  std::uintptr_t NextWindow(std::uintptr_t id) override {
    for (std::size_t i = 0; i + 1 < windows.size(); ++i) {
      if (windows[i].id == id) return windows[i + 1].id;
    }
    return 0;
  }
  void ReadClassName(std::uintptr_t id, char* buffer, std::size_t size) override {
    copy(at(id).className, buffer, size);
  }
  void ReadTitle(std::uintptr_t id, char* buffer, std::size_t size) override {
    ++windowsRead;
    copy(at(id).title, buffer, size);
  }
  void SendEvent(const contract::EventRecord& record, std::int32_t number) override {
    const auto* title = reinterpret_cast<const char*>(record.params.value[0]);
    events.push_back({record.eventText, title, number});
  }

  // The TV application's window with this title, on top of the others.
  void showTitle(const std::string& title) {
    std::erase_if(windows, [](const FakeWindow& w) { return w.id == kTvApplicationId; });
    windows.insert(windows.begin(), {kTvApplicationId, "TApplication", title});
  }
  static constexpr std::uintptr_t kTvApplicationId = 0xA1;

 private:
  const FakeWindow& at(std::uintptr_t id) const {
    for (const FakeWindow& window : windows) {
      if (window.id == id) return window;
    }
    ADD_FAILURE() << "no window " << id;
    return windows.front();
  }
  // As the system does: at most size - 1 characters and a NUL.
  static void copy(const std::string& text, char* buffer, std::size_t size) {
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
};

using contract::WordBlock;

}  // namespace korvid::testing
