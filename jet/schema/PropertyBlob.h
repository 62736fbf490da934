#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/text/TextCodec.h"

// The designer's properties of an object (a table and its columns: Required, Description,
// Format ...), kept in the LvProp long value of the object's MSysObjects row.
namespace Jet {

struct Property {
  std::u16string name;
  uint8_t dataType = 0;  // a column type code (0x01 Yes/No, 0x0A Text ...)
  std::vector<uint8_t> value;
};

// The properties of one object: the table itself (empty name) or one of its columns.
struct PropertyBlock {
  std::u16string objectName;
  std::vector<Property> properties;
};

// The blocks of a property blob in stored order, names decoded with `codec` (the database's text
// codec). A blob that is empty, of a kind this reader does not know or damaged anywhere gives no
// blocks: the properties only annotate the table, and its rows stay readable without them.
std::vector<PropertyBlock> ReadPropertyBlob(ByteSpan blob, const TextCodec& codec);

// The property of this name (ignoring case) in `block`, or null.
const Property* FindProperty(const PropertyBlock& block, std::u16string_view name);

// Whether `block` holds a Yes/No property of this name (ignoring case) that is Yes.
bool IsPropertyYes(const PropertyBlock& block, std::u16string_view name);

}  // namespace Jet
