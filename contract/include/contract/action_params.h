// Safe reading of the host's parameter block and the word rules every plug-in shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "contract/plugin_contract.h"

namespace contract {

// Read access to a parameter block that never looks past the fourth slot or through a null
// pointer. A null block reads as a block with no parameters.
class ParamsView {
 public:
  explicit ParamsView(const ActionParams* params) noexcept : params_(params) {}

  bool present() const noexcept { return params_ != nullptr; }
  std::int32_t count() const noexcept { return params_ ? params_->count : 0; }
  // Parameters that may be read: count clamped to 0..4.
  int readable() const noexcept;
  bool isText(int index) const noexcept;
  // The text of parameter `index`, or nullptr when it is not a text or its address is null.
  const char* text(int index) const noexcept;
  std::int32_t number(int index) const noexcept;

 private:
  const ActionParams* params_;
};

// The check that opens every ActionManual: a block exists, minCount <= count <= maxCount, and
// the first `leadingTexts` parameters are texts with a non-null address.
bool AcceptsBlock(const ActionParams* params, int minCount, int maxCount, int leadingTexts) noexcept;

// At most `limit` characters of a host text: the host's texts are trusted to end, but a reader
// that needs no more than `limit` characters never scans further.
std::string_view BoundedText(const char* text, std::size_t limit) noexcept;

char AsciiUpper(char c) noexcept;
// Whole-word comparison without regard to letter case (ASCII letters; other bytes compare as they are).
bool SameWord(std::string_view a, std::string_view b) noexcept;

// Finds the row whose `word` equals `text` without regard to case. `text` is read no further than
// one character beyond the longest word of the table, so a huge word costs no more than a short one.
template <class Row, std::size_t N>
const Row* FindWord(const Row (&table)[N], const char* text) noexcept {
  if (text == nullptr) return nullptr;
  std::size_t longest = 0;
  for (const Row& row : table) longest = row.word.size() > longest ? row.word.size() : longest;
  const std::string_view word = BoundedText(text, longest + 1);
  for (const Row& row : table) {
    if (SameWord(row.word, word)) return &row;
  }
  return nullptr;
}

// Writes the instance name into an EventRecord field: at most 63 characters, zero-filled;
// `fallback` when `name` is null.
void CopyInstanceName(char (&dest)[kInstanceNameSize], const char* name, std::string_view fallback) noexcept;

// The invalid-parameters report: "Invalid params: <plugin>.ActionManual(<p0>,<p1>...)", never more
// than 255 characters. Returns the length written into `out` (always NUL-terminated).
std::size_t FormatInvalidParamsReport(const ActionParams* params, std::string_view pluginWord,
                                      char (&out)[kReportMaxLength + 1]) noexcept;

}  // namespace contract
