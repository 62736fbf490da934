#include "jet/schema/PropertyBlob.h"

#include <gtest/gtest.h>

#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using namespace Testing;

constexpr uint8_t kYesNo = 0x01;
constexpr uint8_t kLong = 0x04;
constexpr uint8_t kText = 0x0A;

Bytes CountedUcs2(const std::u16string& text) {
  Bytes bytes;
  AppendU16(bytes, static_cast<uint16_t>(text.size() * 2));
  const Bytes stored = Utf16(text);
  bytes.insert(bytes.end(), stored.begin(), stored.end());
  return bytes;
}

Bytes Chunk(uint16_t type, const Bytes& content) {
  Bytes chunk;
  AppendU32(chunk, static_cast<uint32_t>(content.size() + 6));
  AppendU16(chunk, type);
  chunk.insert(chunk.end(), content.begin(), content.end());
  return chunk;
}

Bytes NamePool(const std::vector<std::u16string>& names) {
  Bytes content;
  for (const std::u16string& name : names) {
    const Bytes counted = CountedUcs2(name);
    content.insert(content.end(), counted.begin(), counted.end());
  }
  return Chunk(0x80, content);
}

Bytes Entry(uint8_t type, uint16_t nameIndex, const Bytes& value) {
  Bytes entry;
  AppendU16(entry, static_cast<uint16_t>(value.size() + 8));
  entry.push_back(0);  // DDL flag
  entry.push_back(type);
  AppendU16(entry, nameIndex);
  AppendU16(entry, static_cast<uint16_t>(value.size()));
  entry.insert(entry.end(), value.begin(), value.end());
  return entry;
}

// The properties of one object; `storedName` is its name as stored (count and text).
Bytes ObjectChunk(const Bytes& storedName, const std::vector<Bytes>& entries, uint16_t type = 0x00) {
  Bytes content;
  AppendU32(content, static_cast<uint32_t>(storedName.size() + 4));
  content.insert(content.end(), storedName.begin(), storedName.end());
  for (const Bytes& entry : entries) content.insert(content.end(), entry.begin(), entry.end());
  return Chunk(type, content);
}

Bytes Blob(const std::vector<Bytes>& chunks, std::string signature = std::string("MR2\0", 4)) {
  Bytes blob(signature.begin(), signature.end());
  for (const Bytes& chunk : chunks) blob.insert(blob.end(), chunk.begin(), chunk.end());
  return blob;
}

// A table's blob as Access writes it: the table's own block, then one per column.
Bytes TableBlob() {
  return Blob({NamePool({u"Description", u"Required", u"ColumnWidth"}),
               ObjectChunk(CountedUcs2(u""), {Entry(kText, 0, Utf16(u"People"))}),
               ObjectChunk(CountedUcs2(u"Name"), {Entry(kLong, 2, {0xFF, 0xFF, 0xFF, 0xFF}),
                                                   Entry(kYesNo, 1, {0x01})}, 0x01),
               ObjectChunk(CountedUcs2(u"Age"), {Entry(kYesNo, 1, {0x00})}, 0x01)});
}

TEST(PropertyBlob, ReadsEachObjectsPropertiesByTheirPooledNames) {
  const std::vector<PropertyBlock> blocks = ReadPropertyBlob(TableBlob(), TextCodec());
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].objectName, u"");
  ASSERT_EQ(blocks[0].properties.size(), 1u);
  EXPECT_EQ(blocks[0].properties[0].name, u"Description");
  EXPECT_EQ(blocks[0].properties[0].dataType, kText);
  EXPECT_EQ(blocks[0].properties[0].value, Utf16(u"People"));

  EXPECT_EQ(blocks[1].objectName, u"Name");
  ASSERT_EQ(blocks[1].properties.size(), 2u);
  EXPECT_EQ(blocks[1].properties[0].name, u"ColumnWidth");
  EXPECT_EQ(blocks[1].properties[0].value, (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_TRUE(IsPropertyYes(blocks[1], u"Required"));
  EXPECT_TRUE(IsPropertyYes(blocks[1], u"REQUIRED"));
  EXPECT_FALSE(IsPropertyYes(blocks[1], u"ColumnWidth")) << "not a Yes/No property";

  EXPECT_EQ(blocks[2].objectName, u"Age");
  EXPECT_FALSE(IsPropertyYes(blocks[2], u"Required"));
  EXPECT_FALSE(IsPropertyYes(blocks[0], u"Required")) << "a property the block lacks";
}

TEST(PropertyBlob, Jet3NamesAreInTheCodePageAndOtherChunkTypesAreSkipped) {
  // "Größe" in code page 1252.
  Bytes storedName;
  AppendU16(storedName, 5);
  for (uint8_t byte : {0x47, 0x72, 0xF6, 0xDF, 0x65}) storedName.push_back(byte);
  Bytes pool;
  AppendU16(pool, 8);
  for (char c : std::string("Required")) pool.push_back(static_cast<uint8_t>(c));
  const Bytes blob = Blob({Chunk(0x80, pool), Chunk(0x7F, {1, 2, 3}),
                           ObjectChunk(storedName, {Entry(kYesNo, 0, {0xFF})})},
                          std::string("KKD\0", 4));
  const std::vector<PropertyBlock> blocks = ReadPropertyBlob(blob, TextCodec(1252));
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0].objectName, u"Größe");
  EXPECT_TRUE(IsPropertyYes(blocks[0], u"Required"));
}

TEST(PropertyBlob, ALaterNamePoolNamesTheBlocksAfterIt) {
  const Bytes blob = Blob({NamePool({u"Required"}), ObjectChunk(CountedUcs2(u"A"), {Entry(kYesNo, 0, {1})}),
                           NamePool({u"Format", u"Required"}),
                           ObjectChunk(CountedUcs2(u"B"), {Entry(kYesNo, 0, {1}), Entry(kYesNo, 1, {0})})});
  const std::vector<PropertyBlock> blocks = ReadPropertyBlob(blob, TextCodec());
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_TRUE(IsPropertyYes(blocks[0], u"Required"));
  EXPECT_FALSE(IsPropertyYes(blocks[1], u"Required"));
  EXPECT_TRUE(IsPropertyYes(blocks[1], u"Format"));
}

TEST(PropertyBlob, AnythingButAWholeBlobGivesNoProperties) {
  const Bytes good = TableBlob();
  ASSERT_FALSE(ReadPropertyBlob(good, TextCodec()).empty());
  const size_t poolLength = NamePool({u"Description", u"Required", u"ColumnWidth"}).size();
  const size_t firstObject = 4 + poolLength;
  const size_t firstEntry = firstObject + 6 + 4 + 2;  // the table's block has an empty name

  std::vector<std::pair<std::string, Bytes>> damaged;
  const auto variant = [&](const std::string& what, auto change) {
    Bytes blob = good;
    change(blob);
    damaged.emplace_back(what, std::move(blob));
  };
  variant("empty", [](Bytes& blob) { blob.clear(); });
  variant("unknown signature", [](Bytes& blob) { blob[0] = 'X'; });
  variant("cut in a chunk header", [&](Bytes& blob) { blob.resize(firstObject + 3); });
  variant("cut inside the last chunk", [](Bytes& blob) { blob.pop_back(); });
  variant("chunk shorter than its header", [](Bytes& blob) { PutU32(blob, 4, 5); });
  variant("chunk past the end", [](Bytes& blob) { PutU32(blob, 4, 0x7FFFFFFF); });
  variant("pooled name past its chunk", [](Bytes& blob) { PutU16(blob, 10, 0x7FFF); });
  variant("entry of length zero", [&](Bytes& blob) { PutU16(blob, firstEntry, 0); });
  variant("entry past its chunk", [&](Bytes& blob) { PutU16(blob, firstEntry, 0x100); });
  variant("value past its entry", [&](Bytes& blob) { PutU16(blob, firstEntry + 6, 0x40); });
  variant("name beyond the pool", [&](Bytes& blob) { PutU16(blob, firstEntry + 4, 3); });
  variant("object name past its chunk", [&](Bytes& blob) { PutU16(blob, firstObject + 10, 0x200); });
  variant("properties before any name pool",
          [&](Bytes& blob) { blob.erase(blob.begin() + 4, blob.begin() + static_cast<ptrdiff_t>(firstObject)); });
  for (const auto& [what, blob] : damaged) EXPECT_TRUE(ReadPropertyBlob(blob, TextCodec()).empty()) << what;
}

}  // namespace
}  // namespace Jet
