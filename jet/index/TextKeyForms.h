#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "jet/index/sortorder/CharacterTables.h"

// The two ways text keys are made: General Legacy and General share one (with their own tables);
// General 97 has its own. Both take text already cut to 255 units without trailing spaces.
namespace Jet {

void AppendGeneralTextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending,
                          const SortOrder::CharacterTable& table);

void AppendGeneral97TextKey(std::vector<uint8_t>& key, std::u16string_view text, bool ascending);

}  // namespace Jet
