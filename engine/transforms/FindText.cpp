// The transforms around a text the user typed: every occurrence of it, or the first one as a
// marker that splits the value.
#include <cstddef>
#include <optional>

#include "engine/transforms/Fundamental.h"
#include "engine/transforms/TextSearch.h"

namespace Fundamental {
namespace {

// Where the first occurrence of a marker starts and ends (indices into the value).
struct MarkerSpan {
  std::size_t begin;
  std::size_t end;
};

// The first occurrence of the marker (an empty marker is found at the start); nothing when the
// marker does not occur or the value is empty.
std::optional<MarkerSpan> FindMarker(std::u16string_view value, std::u16string_view marker) {
  if (value.empty()) return std::nullopt;
  const std::size_t begin = TextFinder(marker).FindFrom(value, 0);
  if (begin == std::u16string_view::npos) return std::nullopt;
  return MarkerSpan{begin, begin + marker.size()};
}

std::u16string Concatenate(std::u16string_view first, std::u16string_view second) {
  std::u16string result;
  result.reserve(first.size() + second.size());
  result.append(first);
  result.append(second);
  return result;
}

}  // namespace

std::u16string RemoveUserDefined(std::u16string_view value, std::u16string_view find) {
  return ReplaceAll(value, find, {});
}

std::u16string ReplaceUserDefined(std::u16string_view value, std::u16string_view find,
                                  std::u16string_view replacement) {
  return ReplaceAll(value, find, replacement);
}

std::u16string RemoveTextBefore(std::u16string_view value, std::u16string_view marker) {
  return ReplaceTextBefore(value, marker, {});
}

std::u16string ReplaceTextBefore(std::u16string_view value, std::u16string_view marker,
                                 std::u16string_view replacement) {
  const std::optional<MarkerSpan> span = FindMarker(value, marker);
  return span ? Concatenate(replacement, value.substr(span->begin)) : std::u16string(value);
}

std::u16string RemoveTextAfter(std::u16string_view value, std::u16string_view marker) {
  return ReplaceTextAfter(value, marker, {});
}

std::u16string ReplaceTextAfter(std::u16string_view value, std::u16string_view marker,
                                std::u16string_view replacement) {
  const std::optional<MarkerSpan> span = FindMarker(value, marker);
  return span ? Concatenate(value.substr(0, span->end), replacement) : std::u16string(value);
}

}  // namespace Fundamental
