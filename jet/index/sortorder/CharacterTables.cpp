#include "jet/index/sortorder/CharacterTables.h"

#include <algorithm>

#include "jet/base/Failure.h"

namespace Jet::SortOrder {

CharCode CharacterTable::Lookup(uint32_t character) const {
  if (character >= size) ThrowInternalFault("a character outside its sort order's table was looked up");
  const uint32_t code = codes[character];
  const size_t inlineCount = (code >> Packing::kInlineShift) & Packing::kInlineBits;
  const size_t extraCount = (code >> Packing::kExtraShift) & Packing::kExtraBits;
  const size_t offset = code >> Packing::kOffsetShift;
  if (offset + inlineCount + extraCount > poolSize)
    ThrowInternalFault("a sort order's character code reaches past its byte pool");
  CharCode result;
  result.kind = static_cast<CharKind>(code & Packing::kKindBits);
  result.inlineBytes = std::span<const uint8_t>(pool + offset, inlineCount);
  result.extraBytes = std::span<const uint8_t>(pool + offset + inlineCount, extraCount);
  result.flag = (code & Packing::kFlagTwo) != 0 ? 2 : 3;
  return result;
}

uint8_t General97ByteOf(char16_t character) {
  const auto found = std::lower_bound(kGeneral97Mappings.begin(), kGeneral97Mappings.end(), character,
                                      [](const ByteMapping& mapping, char16_t c) { return mapping.character < c; });
  return found != kGeneral97Mappings.end() && found->character == character ? found->byte : 0;
}

}  // namespace Jet::SortOrder
