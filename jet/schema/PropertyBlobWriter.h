#pragma once

#include <cstdint>
#include <vector>

#include "jet/schema/PropertyBlob.h"

// Writes property blobs for the creator (the LvProp long value of a new table), in the layout
// PropertyBlob's reader reads (PropertyBlobFormat.h).
namespace Jet::Create {

// A Jet4/ACE blob ("MR2"): the pool of the properties' names in the order they first appear, then
// each block in the order given (a block without a name is the table's own), names and text in
// uncompressed UCS-2. Throws JetError for a block or property too long for its 16-bit length.
std::vector<uint8_t> EncodePropertyBlob(const std::vector<PropertyBlock>& blocks);

// A property holding text (Text, or Memo for long texts such as expressions).
Property TextProperty(std::u16string name, uint8_t dataType, std::u16string_view text);

}  // namespace Jet::Create
