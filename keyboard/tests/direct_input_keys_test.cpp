#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "direct_input_keys.h"

namespace keyboard {
namespace {

class RecordingPort : public DirectInputPort {
 public:
  std::vector<std::string> steps;
  void PostKeyMessage(std::uint32_t lParam) override {
    char text[32];
    std::snprintf(text, sizeof text, "post %08X", lParam);
    steps.emplace_back(text);
  }
  void StopRepeatTimer() override { steps.emplace_back("repeat off"); }
  void StartRepeatTimer(unsigned intervalMs) override { steps.push_back("repeat " + std::to_string(intervalMs)); }
};

TEST(DirectInputKeys, PressesRepeatAndReleases) {
  DirectInputKeys keys;
  RecordingPort port;
  const DeviceRecord pressA[] = {{0x1E, 0x80}};
  keys.Deliver(pressA, port);
  keys.Repeat(port);
  keys.Repeat(port);
  // Shift tapped while A is held: its release ends A's repeats.
  const DeviceRecord tapShiftReleaseA[] = {{0x2A, 0x80}, {0x2A, 0x00}, {0x1E, 0x00}};
  keys.Deliver(tapShiftReleaseA, port);
  EXPECT_EQ(port.steps, (std::vector<std::string>{"post 001E0000", "repeat 500", "repeat 30", "post 001E0000",
                                                  "repeat 30", "post 001E0000", "post 002A0000", "repeat 500",
                                                  "post 802A0000", "repeat off", "post 801E0000", "repeat off"}));
}

TEST(DirectInputKeys, OnlyBitSevenAndTheKeyboardOffsetCount) {
  EXPECT_EQ(DirectInputKeys::KeyMessageOf({0xD3, 0xFF}), 0x00D30000u);
  EXPECT_EQ(DirectInputKeys::KeyMessageOf({0xD3, 0x7F}), 0x80D30000u);
  EXPECT_EQ(DirectInputKeys::KeyMessageOf({0xFFFF80C7, 0x80}), 0x00C70000u);
}

}  // namespace
}  // namespace keyboard
