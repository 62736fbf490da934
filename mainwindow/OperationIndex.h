#pragma once

#include <string_view>

// The stored choice of operation (settings key Combo1) read back as a list index.
namespace Windows {

// The whole number the text holds (an optional sign and digits, blanks around them allowed).
// Anything else throws Main::Error: a type mismatch for text that is no whole number, an overflow
// for one too large for an index.
int StoredOperationIndex(std::u16string_view text);

}  // namespace Windows
