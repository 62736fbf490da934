#include "common/QuoteSqlText.h"

namespace Main {

std::u16string DoubleApostrophes(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    out.push_back(c);
    if (c == u'\'') out.push_back(c);
  }
  return out;
}

std::u16string QuoteSqlText(const Value& value, std::u16string_view substitute) {
  if (value.IsNull()) return std::u16string(substitute);
  return DoubleApostrophes(value.ToText());
}

}  // namespace Main
