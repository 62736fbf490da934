// The transforms that cut a value at a count of characters.
#include <algorithm>
#include <cstddef>

#include "engine/transforms/Fundamental.h"

namespace Fundamental {
namespace {

// The count as a length no larger than the value's; a negative count is 0.
std::size_t ClampedCount(std::u16string_view value, int x) {
  return x <= 0 ? 0 : std::min(static_cast<std::size_t>(x), value.size());
}

}  // namespace

std::u16string RemoveFirstChars(std::u16string_view value, int x) {
  return std::u16string(value.substr(ClampedCount(value, x)));
}

std::u16string RemoveLastChars(std::u16string_view value, int x) {
  return std::u16string(value.substr(0, value.size() - ClampedCount(value, x)));
}

std::u16string RemoveAfterPosition(std::u16string_view value, int x) {
  return std::u16string(value.substr(0, ClampedCount(value, x)));
}

std::u16string RemoveBeforePosition(std::u16string_view value, int x) {
  return RemoveFirstChars(value, x);
}

}  // namespace Fundamental
