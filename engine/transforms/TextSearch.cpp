#include "engine/transforms/TextSearch.h"

namespace Fundamental {

TextFinder::TextFinder(std::u16string_view needle) : needle_(needle), border_(needle.size(), 0) {
  std::size_t matched = 0;
  for (std::size_t i = 1; i < needle_.size(); ++i) {
    while (matched > 0 && needle_[i] != needle_[matched]) matched = border_[matched - 1];
    if (needle_[i] == needle_[matched]) ++matched;
    border_[i] = matched;
  }
}

std::size_t TextFinder::FindFrom(std::u16string_view value, std::size_t from) const {
  if (needle_.empty()) return from <= value.size() ? from : std::u16string_view::npos;
  std::size_t matched = 0;
  for (std::size_t i = from; i < value.size(); ++i) {
    while (matched > 0 && value[i] != needle_[matched]) matched = border_[matched - 1];
    if (value[i] == needle_[matched] && ++matched == needle_.size()) return i + 1 - matched;
  }
  return std::u16string_view::npos;
}

std::u16string ReplaceAll(std::u16string_view value, std::u16string_view find,
                          std::u16string_view replacement) {
  if (find.empty()) return std::u16string(value);
  const TextFinder finder(find);
  std::u16string result;
  result.reserve(value.size());
  std::size_t copiedUpTo = 0;
  for (std::size_t match = finder.FindFrom(value, 0); match != std::u16string_view::npos;
       match = finder.FindFrom(value, copiedUpTo)) {
    result.append(value.substr(copiedUpTo, match - copiedUpTo));
    result.append(replacement);
    copiedUpTo = match + find.size();
  }
  result.append(value.substr(copiedUpTo));
  return result;
}

}  // namespace Fundamental
