#include "database/access/ConnectionString.h"

#include "common/Error.h"

namespace Access {
namespace {

constexpr long kBadConnectionString = 3706;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string Lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return lower;
}

[[noreturn]] void Malformed(std::u16string_view text) {
  throw Main::Error(kBadConnectionString,
                    u"The connection string is not valid: " + std::u16string(text));
}

}  // namespace

ConnectionString ConnectionString::Parse(std::u16string_view text) {
  ConnectionString result;
  size_t at = 0;
  while (at < text.size()) {
    // The key runs to the first '=' ("==" stands for an '=' inside the key).
    std::u16string key;
    while (at < text.size()) {
      if (text[at] == u'=') {
        if (at + 1 < text.size() && text[at + 1] == u'=') {
          key.push_back(u'=');
          at += 2;
          continue;
        }
        break;
      }
      if (text[at] == u';') break;
      key.push_back(text[at++]);
    }
    const std::u16string_view trimmedKey = Trim(key);
    if (at >= text.size() || text[at] == u';') {
      if (!trimmedKey.empty()) Malformed(text);  // a key without '='
      ++at;
      continue;
    }
    ++at;  // past '='
    while (at < text.size() && IsBlank(text[at])) ++at;
    std::u16string value;
    if (at < text.size() && (text[at] == u'"' || text[at] == u'\'')) {
      const char16_t quote = text[at++];
      for (;;) {
        if (at >= text.size()) Malformed(text);
        if (text[at] == quote) {
          if (at + 1 < text.size() && text[at + 1] == quote) {
            value.push_back(quote);
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        value.push_back(text[at++]);
      }
      while (at < text.size() && IsBlank(text[at])) ++at;
      if (at < text.size() && text[at] != u';') Malformed(text);
    } else {
      const size_t end = text.find(u';', at);
      value = Trim(text.substr(at, end == std::u16string_view::npos ? text.npos : end - at));
      at = end == std::u16string_view::npos ? text.size() : end;
    }
    ++at;  // past ';'
    if (trimmedKey.empty()) Malformed(text);
    result.values_[Lower(trimmedKey)] = value;
  }
  return result;
}

std::optional<std::u16string> ConnectionString::Get(std::u16string_view key) const {
  const auto found = values_.find(Lower(Trim(key)));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::u16string QuoteConnectionValue(std::u16string_view value) {
  const bool needsQuotes = value.find_first_of(u";\"'") != std::u16string_view::npos ||
                           (!value.empty() && (IsBlank(value.front()) || IsBlank(value.back())));
  if (!needsQuotes) return std::u16string(value);
  const char16_t quote =
      value.find(u'"') != std::u16string_view::npos && value.find(u'\'') == std::u16string_view::npos
          ? u'\''
          : u'"';
  std::u16string quoted(1, quote);
  for (const char16_t c : value) {
    quoted.push_back(c);
    if (c == quote) quoted.push_back(c);
  }
  quoted.push_back(quote);
  return quoted;
}

}  // namespace Access
