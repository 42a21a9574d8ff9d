#include "setup_view.h"

#include <algorithm>

namespace sendaro {
namespace {

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

std::int32_t SpinTarget(const SpinField& field, std::int32_t position, std::int32_t delta) noexcept {
  const std::int64_t target = std::int64_t{position} + delta;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(target, field.minimum, field.maximum));
}

void SetupView::Show(const CodeTable& codes) {
  lastShown_ = ~std::uint64_t{0};
  rows_.clear();
  firstRowByCode_.clear();
  rows_.reserve(codes.size());
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const CodeEntry& entry = codes.at(i);
    rows_.emplace_back(entry.name, entry.button);
    firstRowByCode_.try_emplace(UpperCase(entry.name), i);
  }
}

std::optional<std::size_t> SetupView::FindRow(std::string_view codeText) const {
  const auto found = firstRowByCode_.find(UpperCase(codeText));
  if (found == firstRowByCode_.end()) return std::nullopt;
  return found->second;
}

std::optional<PressLabels> SetupView::Pressed(std::uint64_t code, std::string_view eventText) {
  if (code == lastShown_) return std::nullopt;
  lastShown_ = code;
  char codeText[kCodeTextSize];
  FormatCodeText(code, codeText);
  PressLabels labels;
  labels.code = std::string("Code: ") + codeText;
  labels.key = std::string("Key: ").append(eventText);
  labels.row = FindRow(codeText);
  return labels;
}

void PressTexts::Push(std::uint64_t code, std::string_view text) {
  const std::lock_guard lock(mutex_);
  if (texts_.size() >= kLimit) texts_.pop_front();
  texts_.emplace_back(code, std::string(text));
}

void PressTexts::DropNewest() {
  const std::lock_guard lock(mutex_);
  if (!texts_.empty()) texts_.pop_back();
}

std::optional<std::string> PressTexts::Take(std::uint64_t code) {
  const std::lock_guard lock(mutex_);
  while (!texts_.empty()) {
    auto [front, text] = std::move(texts_.front());
    texts_.pop_front();
    if (front == code) return std::move(text);
  }
  return std::nullopt;
}

bool PressTexts::empty() {
  const std::lock_guard lock(mutex_);
  return texts_.empty();
}

void PressTexts::Clear() {
  const std::lock_guard lock(mutex_);
  texts_.clear();
}

}  // namespace sendaro
