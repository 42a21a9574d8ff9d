// Button codes as text, and the table that names them from the [Codes] section.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sendaro {

// Two to sixteen upper-case hex digits and a NUL.
inline constexpr std::size_t kCodeTextSize = 20;

// Upper-case hexadecimal without a prefix, at least two digits: 5 -> "05", 26 -> "1A", 291 -> "123".
// Returns the length written (always NUL-terminated).
std::size_t FormatCodeText(std::uint64_t code, char (&out)[kCodeTextSize]) noexcept;

struct CodeEntry {
  std::string name;    // the key as written in the file
  std::string button;  // the button name
  int group = 0;       // index into the group list
};

class CodeTable {
 public:
  // Fills the table from the lines of a [Codes] section ("key=value"), in their order. Lines
  // without "=" and lines without a key or a button name give no entry.
  void Load(const std::vector<std::string>& sectionLines);
  void Clear() noexcept { entries_.clear(); }

  // The first entry whose name equals `codeText` as a whole, without regard to letter case.
  std::optional<std::size_t> Find(std::string_view codeText) const noexcept;
  const CodeEntry& at(std::size_t index) const { return entries_.at(index); }
  std::size_t size() const noexcept { return entries_.size(); }

 private:
  std::vector<CodeEntry> entries_;
};

// The group list: rebuilt by every load with its one entry.
class GroupList {
 public:
  void Reset();
  void Clear() noexcept { names_.clear(); }
  // The group's name; an index outside the list names no group.
  std::string_view NameAt(int index) const noexcept;
  std::size_t size() const noexcept { return names_.size(); }

 private:
  std::vector<std::string> names_;
};

}  // namespace sendaro
