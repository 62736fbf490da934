// The transforms that keep, drop or replace characters by their membership in a set.
#include "common/ui/EventPump.h"
#include "engine/transforms/CharacterSet.h"
#include "engine/transforms/Fundamental.h"

namespace Fundamental {

std::u16string FilterCharsBySet(std::u16string_view value, std::u16string_view set,
                                bool keepMembers) {
  return SubstituteCharsBySet(value, set, {}, keepMembers);
}

std::u16string SubstituteCharsBySet(std::u16string_view value, std::u16string_view set,
                                    std::u16string_view replacement, bool keepMembers) {
  const CharacterSet members(set);
  std::u16string result;
  result.reserve(value.size());
  for (const char16_t c : value) {
    Ui::PumpEvents();
    if (members.Contains(c) == keepMembers) {
      result.push_back(c);
    } else {
      result.append(replacement);
    }
  }
  return result;
}

std::u16string RemoveAlphabet(std::u16string_view value) {
  return FilterCharsBySet(value, LetterChars, false);
}

std::u16string RemoveNumeric(std::u16string_view value) {
  return FilterCharsBySet(value, DigitChars, false);
}

std::u16string RemoveAlphanumeric(std::u16string_view value) {
  return FilterCharsBySet(value, AlphanumericChars, false);
}

std::u16string RemoveNonAlphanumeric(std::u16string_view value) {
  return FilterCharsBySet(value, AlphanumericChars, true);
}

std::u16string ReplaceAlphabet(std::u16string_view value, std::u16string_view replacement) {
  return SubstituteCharsBySet(value, LetterChars, replacement, false);
}

std::u16string ReplaceNumeric(std::u16string_view value, std::u16string_view replacement) {
  return SubstituteCharsBySet(value, DigitChars, replacement, false);
}

std::u16string ReplaceAlphanumeric(std::u16string_view value, std::u16string_view replacement) {
  return SubstituteCharsBySet(value, AlphanumericChars, replacement, false);
}

std::u16string ReplaceNonAlphanumeric(std::u16string_view value,
                                      std::u16string_view replacement) {
  return SubstituteCharsBySet(value, AlphanumericSpaceChars, replacement, true);
}

}  // namespace Fundamental
