#include "engine/transforms/CharacterSet.h"

#include <algorithm>

namespace Fundamental {

CharacterSet::CharacterSet(std::u16string_view members) {
  for (const char16_t c : members) {
    if (c < ascii_.size()) {
      ascii_.set(c);
    } else {
      others_.push_back(c);
    }
  }
  std::sort(others_.begin(), others_.end());
}

bool CharacterSet::Contains(char16_t c) const {
  if (c < ascii_.size()) return ascii_.test(c);
  return std::binary_search(others_.begin(), others_.end(), c);
}

}  // namespace Fundamental
