// Random commands and texts into the interpreter over the recording port: no crash or overflow,
// results are 0 or 1, combinations split into at most four parts of at most 127 characters, and a
// "PRESS" leaves no key held down that it pressed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "keystroke_emulation.h"
#include "recording_input_port.h"

namespace {

constexpr const char* kWords[] = {"PRESS",    "KEYDOWN", "KEYUP", "WM_PRESS", "WM_KEYDOWN",
                                  "WM_KEYUP", "TYPE",    "ON",    "OFF",      "LAYOUT"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const std::uint8_t mode = data[1];
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string word = kWords[choice % std::size(kWords)];

  for (const std::string& part : keyboard::SplitCombination(text, keyboard::kMaxCombinationKeys)) {
    if (part.size() > 127) std::abort();
  }
  if (keyboard::SplitCombination(text, keyboard::kMaxCombinationKeys).size() > 4) std::abort();

  keyboard::testing::RecordingInputPort port;
  port.layout = (mode & 1) ? keyboard::testing::kEnglishLayout : keyboard::testing::kRussianLayout;
  if (mode & 2) port.toggleOn(0x14);
  keyboard::KeyboardSettings settings;
  settings.win9xMode = (mode & 4) != 0;
  if (mode & 8) settings.international = text.substr(0, 64);
  keyboard::KeystrokeEmulator emulator(port, settings);

  contract::ActionParams params{};
  params.count = 2 + (mode >> 6);
  params.value[0] = reinterpret_cast<contract::ParamSlot>(word.c_str());
  params.value[1] = reinterpret_cast<contract::ParamSlot>(text.c_str());
  params.kind[2] = (mode & 16) ? 1 : 0;
  params.value[2] = (mode & 16) ? 77 : reinterpret_cast<contract::ParamSlot>(text.c_str());
  const int result = emulator.ExecuteCommand(&params);
  if (result != 0 && result != 1) std::abort();
  if (word == "PRESS" && port.anyKeyHeld()) std::abort();
  return 0;
}
