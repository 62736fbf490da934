#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/index/TextSortOrder.h"

// The value bytes of a Text or Memo key (after the start byte) in one of the sort orders.
namespace Jet {

// Appends the key bytes of `text` (the first 255 units count, trailing spaces do not). Throws
// kNotSupported for a General key longer than the engine reproduces.
void AppendTextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending, TextSortOrder order);

}  // namespace Jet
