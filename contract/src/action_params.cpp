#include "contract/action_params.h"

#include <cstring>

namespace contract {

int ParamsView::readable() const noexcept {
  const std::int32_t n = count();
  if (n < 0) return 0;
  return n > kMaxParams ? kMaxParams : static_cast<int>(n);
}

bool ParamsView::isText(int index) const noexcept {
  return index >= 0 && index < readable() && params_->kind[index] == kKindText;
}

const char* ParamsView::text(int index) const noexcept {
  if (!isText(index)) return nullptr;
  return reinterpret_cast<const char*>(params_->value[index]);
}

std::int32_t ParamsView::number(int index) const noexcept {
  if (index < 0 || index >= readable()) return 0;
  return static_cast<std::int32_t>(params_->value[index]);
}

bool AcceptsBlock(const ActionParams* params, int minCount, int maxCount, int leadingTexts) noexcept {
  const ParamsView view(params);
  if (!view.present() || view.count() < minCount || view.count() > maxCount) return false;
  for (int i = 0; i < leadingTexts; ++i) {
    if (view.text(i) == nullptr) return false;
  }
  return true;
}

std::string_view BoundedText(const char* text, std::size_t limit) noexcept {
  if (text == nullptr) return {};
  return {text, strnlen(text, limit)};
}

char AsciiUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameWord(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

void CopyInstanceName(char (&dest)[kInstanceNameSize], const char* name, std::string_view fallback) noexcept {
  std::memset(dest, 0, sizeof dest);
  const std::string_view source = name ? BoundedText(name, kInstanceNameSize - 1) : fallback;
  const std::size_t n = source.size() < kInstanceNameSize - 1 ? source.size() : kInstanceNameSize - 1;
  std::memcpy(dest, source.data(), n);
}

namespace {

// Appends to a text of at most kReportMaxLength characters; reports whether all of it fitted.
class BoundedWriter {
 public:
  explicit BoundedWriter(char (&out)[kReportMaxLength + 1]) noexcept : out_(out) { out_[0] = '\0'; }

  bool append(std::string_view piece) noexcept {
    const std::size_t room = kReportMaxLength - length_;
    const std::size_t n = piece.size() < room ? piece.size() : room;
    std::memcpy(out_ + length_, piece.data(), n);
    length_ += n;
    out_[length_] = '\0';
    return n == piece.size();
  }
  bool full() const noexcept { return length_ >= kReportMaxLength; }
  std::size_t length() const noexcept { return length_; }

 private:
  char* out_;
  std::size_t length_ = 0;
};

std::string_view HexNumber(std::uint32_t value, char (&buffer)[16]) noexcept {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char* end = buffer + sizeof buffer;
  char* p = end;
  do {
    *--p = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  *--p = 'x';
  *--p = '0';
  return {p, static_cast<std::size_t>(end - p)};
}

}  // namespace

std::size_t FormatInvalidParamsReport(const ActionParams* params, std::string_view pluginWord,
                                      char (&out)[kReportMaxLength + 1]) noexcept {
  BoundedWriter report(out);
  bool fits = report.append("Invalid params: ") && report.append(pluginWord) && report.append(".ActionManual(");
  const ParamsView view(params);
  for (int i = 0; fits && i < view.readable() && !report.full(); ++i) {
    if (i > 0) fits = report.append(",");
    if (!fits) break;
    if (view.isText(i)) {
      const char* text = view.text(i);
      if (text == nullptr) {
        fits = report.append("NULL");  // a text slot without an address
      } else {
        // Never read more of the host's text than could still be written.
        fits = report.append("\"") && report.append(BoundedText(text, kReportMaxLength)) && report.append("\"");
      }
    } else {
      char digits[16];
      fits = report.append(HexNumber(static_cast<std::uint32_t>(view.number(i)), digits));
    }
  }
  if (fits) report.append(")");
  return report.length();
}

}  // namespace contract
