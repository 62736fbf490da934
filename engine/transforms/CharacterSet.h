#pragma once

#include <bitset>
#include <string>
#include <string_view>

// Membership in a set of characters by exact code-unit equality, answered without searching the
// set for each character.
namespace Fundamental {

// A set of UTF-16 code units: a bit table for the ASCII members, a sorted list for the others.
class CharacterSet {
 public:
  explicit CharacterSet(std::u16string_view members);

  bool Contains(char16_t c) const;

 private:
  std::bitset<128> ascii_;
  std::u16string others_;  // sorted
};

}  // namespace Fundamental
