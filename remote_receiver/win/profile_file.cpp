#include "profile_file.h"

#include <windows.h>

#include <algorithm>

namespace sendaro::win {
namespace {

// No value can hold a line break, so this default tells a missing key from an empty value.
constexpr char kMissing[] = "\n";
constexpr DWORD kValueSize = 1024;
constexpr DWORD kLargestSection = 1u << 20;

}  // namespace

std::optional<std::string> ProfileFile::ReadString(std::string_view section, std::string_view key) {
  char value[kValueSize];
  const DWORD length = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), kMissing, value,
                                                kValueSize, path_.c_str());
  if (std::string_view(value, length) == kMissing) return std::nullopt;
  // A value cut at the buffer's end is no integer anyone wrote: read it as nothing usable.
  if (length >= kValueSize - 1) return std::string();
  return std::string(value, length);
}

std::vector<std::string> ProfileFile::ReadSection(std::string_view section) {
  // A section is never longer than its file, so one pass mostly does: each pass parses the file.
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  DWORD start = 4096;
  if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &attributes) && attributes.nFileSizeHigh == 0) {
    start = std::clamp<DWORD>(attributes.nFileSizeLow + 2, start, kLargestSection);
  }
  std::string buffer(start, '\0');
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileSectionA(std::string(section).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                       path_.c_str());
    // A section that does not fit comes back cut, with its length the buffer's size minus two.
    if (length + 2 < buffer.size() || buffer.size() >= kLargestSection) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> lines;
  std::string_view rest(buffer.data(), length);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\0');
    const std::string_view line = rest.substr(0, end);
    if (!line.empty()) lines.emplace_back(line);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return lines;
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Failures (a read-only file or folder) are not reported: the settings stay in memory.
  WritePrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), std::string(value).c_str(),
                             path_.c_str());
}

}  // namespace sendaro::win
