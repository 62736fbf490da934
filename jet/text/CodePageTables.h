#pragma once

#include <array>
#include <cstdint>

// Tables of the single-byte Windows code pages that Jet3 text is stored in.
namespace Jet {

// The characters of bytes 0x80 to 0xFF; bytes below 0x80 are ASCII in every supported code page.
using UpperHalf = std::array<char16_t, 128>;

// The table of a Windows code page (874, 1250 to 1258), or nullptr for any other.
const UpperHalf* FindCodePage(uint16_t codePage);

}  // namespace Jet
