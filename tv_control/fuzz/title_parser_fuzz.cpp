// Feeds arbitrary titles to the title parser: it must stay inside the title and return a name that
// lies within it, after the prefix, without the closing parenthesis.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "title_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact-size heap copy, so that any read beyond the title is caught.
  const std::string copy(reinterpret_cast<const char*>(data), size);
  for (const std::string& title : {copy, std::string(korvid::kTitlePrefix) + copy}) {
    char* exact = static_cast<char*>(std::malloc(title.size() + 1));
    if (exact == nullptr) return 0;
    title.copy(exact, title.size());
    const std::string_view view(exact, title.size());
    const korvid::ParsedTitle parsed = korvid::ParseTitle(view);
    const std::size_t offset = parsed.name.empty() ? 0 : static_cast<std::size_t>(parsed.name.data() - exact);
    if (!parsed.name.empty()) {
      if (offset < korvid::kTitlePrefix.size() && view.size() >= korvid::kTitlePrefix.size()) std::abort();
      if (offset + parsed.name.size() > view.size()) std::abort();
      if (parsed.name.front() == ' ') std::abort();
    }
    if (parsed.number < 0) std::abort();
    // A closing parenthesis at the end is always cut off.
    if (!parsed.name.empty() && view.back() == ')' && offset + parsed.name.size() == view.size()) std::abort();
    std::free(exact);
  }
  return 0;
}
