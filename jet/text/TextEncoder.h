#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/text/CodePageTables.h"

// Turns UTF-16 text into the bytes a Text or Memo column stores: Jet4/ACE text as UCS-2 or in the
// compressed form (see TextCodec.h), Jet3 text in the database's code page.
namespace Jet {

// UCS-2 little-endian, or the compressed form when `compressible` (the column allows it) and that
// form is shorter. Characters whose low byte is zero cannot sit in a compressed text (a zero byte
// switches the run), so text holding one is stored as UCS-2.
std::vector<uint8_t> EncodeUnicodeText(std::u16string_view text, bool compressible);

// One byte per character through the code page table. Throws JetError kTypeMismatch naming the
// first character the code page cannot hold.
std::vector<uint8_t> EncodeCodePageText(std::u16string_view text, const UpperHalf& table,
                                        uint16_t codePage);

}  // namespace Jet
