#pragma once

#include <string_view>

// Comparing names the way Access does, ignoring case.
namespace Jet {

// The lower-case form of a character of the Latin, Greek and Cyrillic alphabets; others as given.
char16_t FoldCase(char16_t character);

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b);
// Negative, zero or positive as `a` sorts before, with or after `b`, ignoring case.
int CompareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace Jet
