#include "jet/schema/PropertyBlob.h"

#include <algorithm>
#include <cstring>

#include "jet/text/CaseFold.h"

// A property blob:
//
//   0  4  "MR2\0" (Jet4 and ACE) or "KKD\0" (Jet3)
//   then chunks, each: 4 length of the whole chunk (these six bytes included), 2 chunk type,
//   then its content:
//     type 0x80  the name pool: entries of 2-byte byte count + name; properties name theirs by
//                position in the pool
//     type 0x00, 0x01, 0x02  one object's properties: 4 length of this header, 2 byte count of
//                the object's name + the name (none for the table itself, else a column's name),
//                then entries: 2 length of the whole entry, 1 DDL flag, 1 data type (a column
//                type code), 2 position of the property's name in the pool, 2 byte count of the
//                value + the value (Yes/No: one byte, nonzero for Yes)
//
// Names are text as the database stores it: UCS-2 (possibly compressed) or, in Jet3, the code
// page. Every length is checked against the chunk that holds it; any damage drops the whole blob.
namespace Jet {
namespace {

constexpr size_t kSignatureSize = 4;
constexpr size_t kChunkHeaderSize = 6;
constexpr size_t kEntryHeaderSize = 8;
constexpr uint16_t kNamePoolChunk = 0x80;
constexpr uint16_t kLastPropertyChunk = 0x02;
constexpr uint8_t kYesNoType = 0x01;

bool HasKnownSignature(ByteSpan blob) {
  if (blob.size() < kSignatureSize) return false;
  return std::memcmp(blob.data(), "MR2\0", kSignatureSize) == 0 ||
         std::memcmp(blob.data(), "KKD\0", kSignatureSize) == 0;
}

// The blob's damage, caught inside this file and never seen outside it.
struct Damaged {};

void Require(bool condition) {
  if (!condition) throw Damaged{};
}

class BlobParser {
 public:
  BlobParser(ByteSpan blob, const TextCodec& codec) : blob_(blob), codec_(codec) {}

  std::vector<PropertyBlock> Read() {
    std::vector<PropertyBlock> blocks;
    size_t at = kSignatureSize;
    while (at < blob_.size()) {
      Require(blob_.size() - at >= kChunkHeaderSize);
      const uint32_t length = ReadU32(blob_, at);
      Require(length >= kChunkHeaderSize && length <= blob_.size() - at);
      const uint16_t type = ReadU16(blob_, at + 4);
      const ByteSpan content = blob_.subspan(at + kChunkHeaderSize, length - kChunkHeaderSize);
      if (type == kNamePoolChunk) {
        ReadNamePool(content);
      } else if (type <= kLastPropertyChunk) {
        blocks.push_back(ReadBlock(content));
      }
      // Chunks of other types hold nothing read here.
      at += length;
    }
    return blocks;
  }

 private:
  // A 2-byte byte count and that many bytes of text, starting at `at`, which moves past them.
  std::u16string ReadCountedName(ByteSpan bytes, size_t& at) const {
    Require(bytes.size() - at >= 2);
    const uint16_t count = ReadU16(bytes, at);
    Require(count <= bytes.size() - at - 2);
    std::u16string name = codec_.Decode(bytes.subspan(at + 2, count));
    at += 2 + size_t{count};
    return name;
  }

  void ReadNamePool(ByteSpan content) {
    names_.clear();
    for (size_t at = 0; at < content.size();) names_.push_back(ReadCountedName(content, at));
  }

  PropertyBlock ReadBlock(ByteSpan content) const {
    Require(content.size() >= 4);
    size_t at = 4;
    PropertyBlock block;
    block.objectName = ReadCountedName(content, at);
    while (at < content.size()) {
      Require(content.size() - at >= kEntryHeaderSize);
      const uint16_t length = ReadU16(content, at);
      const uint16_t nameIndex = ReadU16(content, at + 4);
      const uint16_t valueLength = ReadU16(content, at + 6);
      Require(length >= kEntryHeaderSize && length <= content.size() - at);
      Require(valueLength <= length - kEntryHeaderSize && nameIndex < names_.size());
      const ByteSpan value = content.subspan(at + kEntryHeaderSize, valueLength);
      block.properties.push_back(
          Property{names_[nameIndex], ReadU8(content, at + 3), std::vector<uint8_t>(value.begin(), value.end())});
      at += length;
    }
    return block;
  }

  ByteSpan blob_;
  const TextCodec& codec_;
  std::vector<std::u16string> names_;
};

}  // namespace

std::vector<PropertyBlock> ReadPropertyBlob(ByteSpan blob, const TextCodec& codec) {
  if (!HasKnownSignature(blob)) return {};
  try {
    return BlobParser(blob, codec).Read();
  } catch (const Damaged&) {
    return {};
  }
}

bool IsPropertyYes(const PropertyBlock& block, std::u16string_view name) {
  return std::any_of(block.properties.begin(), block.properties.end(), [&](const Property& property) {
    return property.dataType == kYesNoType && !property.value.empty() && property.value[0] != 0 &&
           EqualIgnoringCase(property.name, name);
  });
}

}  // namespace Jet
