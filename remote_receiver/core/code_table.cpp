#include "code_table.h"

#include "contract/action_params.h"
#include "remote_constants.h"

namespace sendaro {
namespace {

std::string_view TrimBlanks(std::string_view text) noexcept {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::size_t FormatCodeText(std::uint64_t code, char (&out)[kCodeTextSize]) noexcept {
  constexpr char kDigits[] = "0123456789ABCDEF";
  char reversed[16];
  std::size_t length = 0;
  do {
    reversed[length++] = kDigits[code & 0xF];
    code >>= 4;
  } while (code != 0);
  if (length < 2) reversed[length++] = '0';
  for (std::size_t i = 0; i < length; ++i) out[i] = reversed[length - 1 - i];
  out[length] = '\0';
  return length;
}

void CodeTable::Load(const std::vector<std::string>& sectionLines) {
  entries_.clear();
  for (const std::string& line : sectionLines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view key = TrimBlanks(std::string_view(line).substr(0, equals));
    const std::string_view button = TrimBlanks(std::string_view(line).substr(equals + 1));
    // A key without a name would deliver an empty event text: the code keeps its code text instead.
    if (key.empty() || button.empty()) continue;
    entries_.push_back(CodeEntry{std::string(key), std::string(button), 0});
  }
}

std::optional<std::size_t> CodeTable::Find(std::string_view codeText) const noexcept {
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (contract::SameWord(entries_[i].name, codeText)) return i;
  }
  return std::nullopt;
}

void GroupList::Reset() {
  names_.clear();
  names_.emplace_back(kGroupName);
}

std::string_view GroupList::NameAt(int index) const noexcept {
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return {};
  return names_[static_cast<std::size_t>(index)];
}

}  // namespace sendaro
