// The creator's property blobs read back by the engine's reader.
#include "jet/schema/PropertyBlobWriter.h"

#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "jet/text/TextCodec.h"

namespace Jet {
namespace {

std::vector<uint8_t> Ucs2(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

TEST(PropertyBlobWriter, WhatItWritesReadsBackBlockByBlock) {
  const std::vector<PropertyBlock> written{
      PropertyBlock{u"", {Property{u"Description", 0x0A, Ucs2(u"Prices")}}},
      PropertyBlock{u"Total", {Property{u"ResultType", 0x02, {0x05}}, Create::TextProperty(u"Expression", 0x0C, u"[Qty]*[Price]")}},
      PropertyBlock{u"Größe", {Property{u"Required", 0x01, {0x01}}, Property{u"ResultType", 0x02, {0x0A}},
                               Property{u"Empty", 0x0A, {}}}},
      PropertyBlock{u"Nothing", {}}};
  const std::vector<uint8_t> blob = Create::EncodePropertyBlob(written);
  ASSERT_GE(blob.size(), 4u);
  EXPECT_EQ(std::string(blob.begin(), blob.begin() + 4), std::string("MR2\0", 4));

  const std::vector<PropertyBlock> read = ReadPropertyBlob(blob, TextCodec());
  ASSERT_EQ(read.size(), written.size());
  for (size_t block = 0; block < read.size(); ++block) {
    EXPECT_EQ(read[block].objectName, written[block].objectName) << block;
    ASSERT_EQ(read[block].properties.size(), written[block].properties.size()) << block;
    for (size_t n = 0; n < read[block].properties.size(); ++n) {
      const Property& got = read[block].properties[n];
      const Property& wanted = written[block].properties[n];
      EXPECT_EQ(got.name, wanted.name) << block << "/" << n;
      EXPECT_EQ(got.dataType, wanted.dataType) << block << "/" << n;
      EXPECT_EQ(got.value, wanted.value) << block << "/" << n;
    }
  }
  EXPECT_EQ(read[1].properties[1].value, Ucs2(u"[Qty]*[Price]"));
  EXPECT_TRUE(IsPropertyYes(read[2], u"required"));
  ASSERT_NE(FindProperty(read[2], u"RESULTTYPE"), nullptr);
  EXPECT_EQ(FindProperty(read[2], u"ResultType")->value, std::vector<uint8_t>{0x0A});
  EXPECT_EQ(FindProperty(read[3], u"ResultType"), nullptr);
}

TEST(PropertyBlobWriter, NamesArePooledOnceAndChunksMeasureThemselves) {
  const std::vector<PropertyBlock> written{PropertyBlock{u"A", {Property{u"ResultType", 0x02, {0x04}}}},
                                           PropertyBlock{u"B", {Property{u"ResultType", 0x02, {0x07}}}}};
  const std::vector<uint8_t> blob = Create::EncodePropertyBlob(written);
  // Signature, pool chunk (6 + 2 + 20), two blocks (6 + 4 + 2 + 2 + 8 + 1 each).
  EXPECT_EQ(blob.size(), 4u + 28u + 2 * 23u);
  EXPECT_EQ(blob[4], 28u) << "the pool holds ResultType once";
  EXPECT_EQ(blob[8], 0x80);
  EXPECT_EQ(blob[4 + 28 + 4], 0x01) << "a column's block";
  // Cut anywhere but after a whole chunk, the reader drops the whole blob rather than a part.
  constexpr size_t kAfterFirstBlock = 4 + 28 + 23;
  for (size_t size = 5; size < blob.size(); ++size)
    EXPECT_EQ(ReadPropertyBlob(std::span(blob).first(size), TextCodec()).size(), size == kAfterFirstBlock ? 1u : 0u)
        << size;
}

TEST(PropertyBlobWriter, RefusesAValueTooLongForItsLength) {
  const std::vector<PropertyBlock> tooLong{
      PropertyBlock{u"A", {Property{u"Expression", 0x0C, std::vector<uint8_t>(70000, 'x')}}}};
  EXPECT_THROW(Create::EncodePropertyBlob(tooLong), JetError);
}

}  // namespace
}  // namespace Jet
