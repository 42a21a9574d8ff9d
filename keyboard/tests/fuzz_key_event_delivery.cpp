// Random key messages, hotkeys and modes into the delivery state: the record's text stays
// terminated within its 124 bytes, a press always follows the release of the previous name,
// repeats count up from 1, and a visible window gets nothing sent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "key_event_delivery.h"

namespace {

using namespace keyboard;

class FuzzKeySystem : public KeySystem {
 public:
  unsigned MapKey(unsigned code, unsigned mapType) override { return (code * 7 + mapType) & 0xFF; }
  std::size_t KeyNameText(std::int32_t lParam, std::span<char> out) override {
    // Some keys without a name, some with names longer than any record can hold.
    const std::size_t length = (static_cast<std::uint32_t>(lParam) >> 16) % 5 == 0 ? 0 : ((lParam >> 16) * 13) % 300;
    const std::size_t n = length < out.size() - 1 ? length : out.size() - 1;
    std::memset(out.data(), 'n', n);
    out[n] = '\0';
    return n;
  }
};

class CheckingPort : public DeliveryPort {
 public:
  explicit CheckingPort(const char (&eventText)[contract::kEventTextSize]) : eventText_(eventText) {}
  bool visible = false;

  bool WindowVisible() override { return visible; }
  void SendEvent(std::intptr_t state) override {
    if (visible) std::abort();
    const std::string name = Text();
    if (name.empty()) std::abort();
    if (state == 0) {
      if (!open_.empty()) std::abort();  // the previous name was never released
      open_ = name;
      lastCount_ = 0;
    } else if (state == contract::kEventReleased) {
      if (open_ != name) std::abort();
      open_.clear();
    } else {
      if (open_ != name || state != lastCount_ + 1) std::abort();
      lastCount_ = state;
    }
  }
  void ShowKeys(std::string_view text) override {
    if (!visible || text.size() > contract::kEventTextSize - 1) std::abort();
  }
  void ShowCount(std::string_view) override {
    if (!visible) std::abort();
  }
  // While hidden, the name held by the record is the one pressed and not yet released.
  void CheckConsistent() const {
    if (!visible && open_ != Text()) std::abort();
  }

 private:
  std::string Text() const {
    const void* end = std::memchr(eventText_, 0, sizeof eventText_);
    if (end == nullptr) std::abort();  // the record's text must stay terminated
    return std::string(eventText_, static_cast<const char*>(end));
  }
  const char (&eventText_)[contract::kEventTextSize];
  std::string open_;
  std::intptr_t lastCount_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static char eventText[contract::kEventTextSize];
  std::memset(eventText, 0, sizeof eventText);
  KeyEventDelivery delivery(eventText);
  FuzzKeySystem system;
  CheckingPort port(eventText);
  // The first byte picks the mode of the whole run; a shown window stays shown.
  const bool keyCodes = size > 0 && (data[0] & 1);
  port.visible = size > 0 && (data[0] & 2);
  for (std::size_t i = 1; i + 5 <= size; i += 5) {
    const std::uint8_t* m = data + i;
    const std::uint32_t lParam = static_cast<std::uint32_t>(m[1]) | m[2] << 16 | (m[3] & 0x81u) << 24;
    if ((m[4] & 0x0F) == 0) {
      const std::uint32_t hotkey =
          delivery.HandleHotkey((m[3] & 0x0Fu) | static_cast<std::uint32_t>(m[0]) << 16, system);
      delivery.HandleKeyMessage(m[0], hotkey, keyCodes, system, port);
    } else {
      delivery.HandleKeyMessage(m[0], lParam, keyCodes, system, port);
    }
    port.CheckConsistent();
  }
  return 0;
}
