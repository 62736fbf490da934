#include "jet/schema/PropertyBlob.h"

#include <algorithm>
#include <cstring>

#include "jet/schema/PropertyBlobFormat.h"
#include "jet/text/CaseFold.h"

// The layout is in PropertyBlobFormat.h. Every length is checked against the chunk that holds it;
// any damage drops the whole blob.
namespace Jet {
namespace {

using namespace PropertyBlobFormat;

constexpr uint8_t kYesNoType = 0x01;

bool HasKnownSignature(ByteSpan blob) {
  if (blob.size() < kSignatureSize) return false;
  return std::memcmp(blob.data(), kSignature, kSignatureSize) == 0 ||
         std::memcmp(blob.data(), kJet3Signature, kSignatureSize) == 0;
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
    Require(content.size() >= kBlockHeaderSize);
    size_t at = kBlockHeaderSize;
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

const Property* FindProperty(const PropertyBlock& block, std::u16string_view name) {
  const auto found = std::find_if(block.properties.begin(), block.properties.end(),
                                  [&](const Property& property) { return EqualIgnoringCase(property.name, name); });
  return found == block.properties.end() ? nullptr : &*found;
}

bool IsPropertyYes(const PropertyBlock& block, std::u16string_view name) {
  const Property* property = FindProperty(block, name);
  return property != nullptr && property->dataType == kYesNoType && !property->value.empty() &&
         property->value[0] != 0;
}

}  // namespace Jet
