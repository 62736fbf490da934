#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "jet/base/ByteWriter.h"
#include "jet/index/IndexPage.h"
#include "tests/jet/CorpusFiles.h"

namespace Jet {
namespace {

using Testing::CorpusDir;
using Testing::ReadBytes;

const IndexPageLayout& Jet4Pages() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet4)); }
const IndexPageLayout& Jet3Pages() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet3)); }

std::vector<uint8_t> PageOf(const std::vector<uint8_t>& file, uint32_t number, uint32_t size) {
  return {file.begin() + number * size, file.begin() + (number + 1) * size};
}

IndexEntry Entry(std::vector<uint8_t> key, uint32_t page, uint8_t slot, uint32_t child = 0) {
  return IndexEntry{std::move(key), page, slot, child};
}

TEST(IndexPageTest, DecodesALeafAccessWroteWithItsSharedPrefixAndEncodesItBackTheSame) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = ReadBytes(CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const auto bytes = PageOf(file, 70, 4096);
  const IndexPage page = DecodeIndexPage(bytes, 70, Jet4Pages());
  EXPECT_TRUE(page.leaf);
  EXPECT_EQ(page.next, 71u);
  EXPECT_EQ(page.previous, 0u);
  ASSERT_EQ(page.entries.size(), 510u);
  // A descending Long: flag 0x80, then the inverted value with its sign bit flipped.
  EXPECT_EQ(page.entries[0].key, (std::vector<uint8_t>{0x80, 0x7F, 0xFF, 0xED, 0x32}));
  EXPECT_EQ(page.entries[0].page, 0x44u);
  EXPECT_EQ(page.entries[0].slot, 0x38);
  EXPECT_EQ(page.entries[1].key, (std::vector<uint8_t>{0x80, 0x7F, 0xFF, 0xED, 0x33}));
  for (size_t i = 1; i < page.entries.size(); ++i)
    EXPECT_EQ(CompareEntries(page.entries[i - 1], page.entries[i]), std::strong_ordering::less) << i;
  // Access left old bytes after the data; everything up to its end is the same.
  const auto encoded = EncodeIndexPage(page, Jet4Pages());
  const size_t dataEnd = 4096 - ReadU16(bytes, 2);
  EXPECT_TRUE(std::equal(encoded.begin(), encoded.begin() + dataEnd, bytes.begin()));
  EXPECT_TRUE(std::all_of(encoded.begin() + dataEnd, encoded.end(), [](uint8_t b) { return b == 0; }));
}

TEST(IndexPageTest, DecodesTheNodeAboveWithItsChildrenAndTail) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = ReadBytes(CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const IndexPage root = DecodeIndexPage(PageOf(file, 69, 4096), 69, Jet4Pages());
  const IndexPage leaf = DecodeIndexPage(PageOf(file, 70, 4096), 70, Jet4Pages());
  EXPECT_FALSE(root.leaf);
  ASSERT_EQ(root.entries.size(), 1u);
  EXPECT_EQ(root.entries[0].child, 70u);
  EXPECT_EQ(root.tail, 71u);
  // A node entry copies its child's last entry.
  EXPECT_TRUE(SameRowAndKey(root.entries[0], leaf.entries.back()));
}

TEST(IndexPageTest, ReadsJet3PagesWithTheirOneBytePrefixBesideTheNodeFlag) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = ReadBytes(CorpusDir() / "V1997/compIndexTestV1997.mdb");
  const IndexPage root = DecodeIndexPage(PageOf(file, 36, 2048), 36, Jet3Pages());
  EXPECT_FALSE(root.leaf);
  ASSERT_EQ(root.entries.size(), 2u);
  EXPECT_NE(root.tail, 0u);
  for (const IndexEntry& entry : root.entries) {
    const IndexPage child = DecodeIndexPage(PageOf(file, entry.child, 2048), entry.child, Jet3Pages());
    EXPECT_TRUE(child.leaf);
    EXPECT_TRUE(SameRowAndKey(entry, child.entries.back()));
  }
}

TEST(IndexPageTest, NodeAndLeafPagesRoundTripWithTheLongestSharedPrefix) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    IndexPage page;
    page.leaf = false;
    page.owner = 7;
    page.previous = 3;
    page.next = 9;
    page.tail = 12;
    page.entries = {Entry({0x7F, 0x41, 0x42, 0x43}, 5, 1, 20), Entry({0x7F, 0x41, 0x42, 0x43}, 5, 2, 21),
                    Entry({0x7F, 0x41, 0x43}, 6, 0, 22)};
    ASSERT_TRUE(FitsIndexPage(page, *layout));
    // 12 + 12 + 11 bytes, two of them storing only what follows the shared "7F 41".
    EXPECT_EQ(EncodedEntriesSize(page), 35u - 2 * 2);
    const auto bytes = EncodeIndexPage(page, *layout);
    ASSERT_EQ(bytes.size(), layout->pageSize);
    const IndexPage back = DecodeIndexPage(bytes, 1, *layout);
    EXPECT_FALSE(back.leaf);
    EXPECT_EQ(back.owner, 7u);
    EXPECT_EQ(back.previous, 3u);
    EXPECT_EQ(back.next, 9u);
    EXPECT_EQ(back.tail, 12u);
    ASSERT_EQ(back.entries.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_TRUE(SameRowAndKey(back.entries[i], page.entries[i]));
      EXPECT_EQ(back.entries[i].child, page.entries[i].child);
    }
  }
}

TEST(IndexPageTest, AnEmptyRootIsALeafWithNoEntriesAndAllItsRoomFree) {
  IndexPage empty;
  const auto bytes = EncodeIndexPage(empty, Jet4Pages());
  EXPECT_EQ(ReadU16(bytes, 2), 3616);
  EXPECT_TRUE(DecodeIndexPage(bytes, 1, Jet4Pages()).entries.empty());
  EXPECT_EQ(ReadU16(EncodeIndexPage(empty, Jet3Pages()), 2), 1800);
}

TEST(IndexPageTest, APageHoldsEntriesUpToItsCapacityAndNoMore) {
  IndexPage page;
  // Keys that share nothing, 4 + 4 bytes each: 452 fill 3616 bytes exactly.
  for (uint32_t i = 0; i < 452; ++i)
    page.entries.push_back(Entry({static_cast<uint8_t>(i >> 8), static_cast<uint8_t>(i), 0, 0}, i, 0));
  page.entries.back().key[0] = 0xFF;
  EXPECT_TRUE(FitsIndexPage(page, Jet4Pages()));
  EXPECT_EQ(DecodeIndexPage(EncodeIndexPage(page, Jet4Pages()), 1, Jet4Pages()).entries.size(), 452u);
  page.entries.push_back(Entry({0xFF, 0xFF}, 1, 0));
  EXPECT_FALSE(FitsIndexPage(page, Jet4Pages()));
  EXPECT_THROW(EncodeIndexPage(page, Jet4Pages()), JetError);
}

TEST(IndexPageTest, RefusesPagesWhoseHeaderOrMaskDisagreesWithTheirData) {
  IndexPage page;
  page.entries = {Entry({0x7F, 0x01}, 5, 1), Entry({0x7F, 0x02}, 5, 2)};
  const auto good = EncodeIndexPage(page, Jet4Pages());

  auto notIndex = good;
  notIndex[0] = 0x01;
  EXPECT_THROW(DecodeIndexPage(notIndex, 1, Jet4Pages()), JetError);

  auto wrongFree = good;
  PutU16(wrongFree, 2, 100);
  EXPECT_THROW(DecodeIndexPage(wrongFree, 1, Jet4Pages()), JetError);

  auto shortEntry = good;  // an end bit after two bytes: too short for a row
  shortEntry[27] |= 0x04;
  EXPECT_THROW(DecodeIndexPage(shortEntry, 1, Jet4Pages()), JetError);

  auto longPrefix = good;
  PutU16(longPrefix, 24, 40);
  EXPECT_THROW(DecodeIndexPage(longPrefix, 1, Jet4Pages()), JetError);

  auto pastEnd = good;  // an end bit beyond the page's capacity
  pastEnd[27 + 452] = 0x80;
  EXPECT_THROW(DecodeIndexPage(pastEnd, 1, Jet4Pages()), JetError);

  EXPECT_THROW(DecodeIndexPage(std::vector<uint8_t>(100, 4), 1, Jet4Pages()), JetError);
}

}  // namespace
}  // namespace Jet
