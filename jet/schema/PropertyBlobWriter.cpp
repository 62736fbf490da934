#include "jet/schema/PropertyBlobWriter.h"

#include <algorithm>
#include <limits>

#include "jet/base/ByteWriter.h"
#include "jet/schema/PropertyBlobFormat.h"
#include "jet/text/TextEncoder.h"

namespace Jet::Create {
namespace {

using namespace PropertyBlobFormat;

uint16_t Length16(size_t length) {
  if (length > std::numeric_limits<uint16_t>::max())
    ThrowNotSupported("a property or its name is too long for a property blob");
  return static_cast<uint16_t>(length);
}

void AppendCountedName(std::vector<uint8_t>& out, std::u16string_view name) {
  const std::vector<uint8_t> stored = EncodeUnicodeText(name, false);
  AppendU16(out, Length16(stored.size()));
  out.insert(out.end(), stored.begin(), stored.end());
}

void AppendChunk(std::vector<uint8_t>& blob, uint16_t type, const std::vector<uint8_t>& content) {
  AppendU32(blob, static_cast<uint32_t>(kChunkHeaderSize + content.size()));
  AppendU16(blob, type);
  blob.insert(blob.end(), content.begin(), content.end());
}

}  // namespace

std::vector<uint8_t> EncodePropertyBlob(const std::vector<PropertyBlock>& blocks) {
  std::vector<std::u16string> names;
  for (const PropertyBlock& block : blocks)
    for (const Property& property : block.properties)
      if (std::find(names.begin(), names.end(), property.name) == names.end()) names.push_back(property.name);

  std::vector<uint8_t> blob(kSignature, kSignature + kSignatureSize);
  std::vector<uint8_t> pool;
  for (const std::u16string& name : names) AppendCountedName(pool, name);
  AppendChunk(blob, kNamePoolChunk, pool);

  for (const PropertyBlock& block : blocks) {
    std::vector<uint8_t> content;
    AppendU32(content, static_cast<uint32_t>(kBlockHeaderSize + 2 + block.objectName.size() * 2));
    AppendCountedName(content, block.objectName);
    for (const Property& property : block.properties) {
      const auto nameIndex = std::find(names.begin(), names.end(), property.name) - names.begin();
      AppendU16(content, Length16(kEntryHeaderSize + property.value.size()));
      AppendU8(content, 0);  // DDL flag
      AppendU8(content, property.dataType);
      AppendU16(content, static_cast<uint16_t>(nameIndex));
      AppendU16(content, static_cast<uint16_t>(property.value.size()));
      content.insert(content.end(), property.value.begin(), property.value.end());
    }
    AppendChunk(blob, block.objectName.empty() ? kTableChunk : kColumnChunk, content);
  }
  return blob;
}

Property TextProperty(std::u16string name, uint8_t dataType, std::u16string_view text) {
  return Property{std::move(name), dataType, EncodeUnicodeText(text, false)};
}

}  // namespace Jet::Create
