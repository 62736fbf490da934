#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Turns UTF-16 text into the bytes a Text or Memo column of a Jet4/ACE file stores: UCS-2 or the
// compressed form (see TextCodec.h). Jet3 text is encoded by CodePageText.
namespace Jet {

// UCS-2 little-endian, or the compressed form when `compressible` (the column allows it) and that
// form is shorter. Characters whose low byte is zero cannot sit in a compressed text (a zero byte
// switches the run), so text holding one is stored as UCS-2.
std::vector<uint8_t> EncodeUnicodeText(std::u16string_view text, bool compressible);
// The same bytes appended to `out` (whose storage a caller may reuse from row to row).
void AppendUnicodeTextBytes(std::u16string_view text, bool compressible, std::vector<uint8_t>& out);

}  // namespace Jet
