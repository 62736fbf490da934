// The index builder: whole trees of every size built in memory and walked back page by page.
#include "jet/index/IndexBuilder.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "jet/base/Failure.h"
#include "jet/file/FormatLayout.h"
#include "tests/jet/index/TreePages.h"

namespace Jet {
namespace {

using Testing::TreePages;

constexpr uint32_t kRoot = 40;
constexpr uint32_t kOwner = 12;

// `count` distinct entries in index order with keys of `keyLength` bytes (a few with equal keys
// and different rows), random from `seed`.
std::vector<IndexEntry> SortedEntries(size_t count, size_t keyLength, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<IndexEntry> entries;
  for (size_t i = 0; i < count; ++i) {
    IndexEntry entry;
    if (i % 7 == 3)
      entry.key = entries.back().key;  // the same key on another row
    else
      for (size_t k = 0; k < keyLength; ++k) entry.key.push_back(static_cast<uint8_t>(random() % 6 + (k < 3 ? 0x7F : 0x40)));
    entry.page = static_cast<uint32_t>(i / 200 + 1);
    entry.slot = static_cast<uint8_t>(i % 200);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return CompareEntries(a, b) < 0; });
  return entries;
}

// A tree built in memory from `entries`, with its pages, the order they came in and its shape.
struct Built {
  std::map<uint32_t, std::vector<uint8_t>> pages;
  std::vector<uint32_t> order;
  TreePages shape;
};

Built Build(const std::vector<IndexEntry>& entries, const IndexPageLayout& layout) {
  Built built;
  uint32_t next = 100;
  for (auto& [number, bytes] : BuildIndexPages(entries, kRoot, kOwner, layout, [&] { return next++; })) {
    EXPECT_EQ(bytes.size(), layout.pageSize);
    EXPECT_TRUE(built.pages.emplace(number, bytes).second) << "page " << number << " built twice";
    built.order.push_back(number);
  }
  EXPECT_EQ(built.pages.size(), next - 100 + 1) << "a page numbered and not built, or the root missing";
  built.shape = Testing::TreePagesOf([&](uint32_t number) { return built.pages.at(number); }, layout, kRoot, kOwner);
  EXPECT_EQ(built.shape.pages.size(), built.pages.size()) << "a built page the root does not reach";
  return built;
}

void ExpectSameEntries(const std::vector<IndexEntry>& read, const std::vector<IndexEntry>& wanted) {
  ASSERT_EQ(read.size(), wanted.size());
  for (size_t i = 0; i < read.size(); ++i) ASSERT_TRUE(SameRowAndKey(read[i], wanted[i])) << "entry " << i;
}

const IndexPageLayout& Jet4() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet4)); }
const IndexPageLayout& Jet3() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet3)); }

TEST(IndexBuilder, AnEmptyIndexIsAnEmptyLeafOnTheRoot) {
  const Built built = Build({}, Jet4());
  ASSERT_EQ(built.pages.size(), 1u);
  const IndexPage root = DecodeIndexPage(built.pages.at(kRoot), kRoot, Jet4());
  EXPECT_TRUE(root.leaf);
  EXPECT_TRUE(root.entries.empty());
  EXPECT_EQ(root.owner, kOwner);
}

TEST(IndexBuilder, AFewEntriesFitTheRootLeaf) {
  for (const size_t count : {1, 5, 40}) {
    const std::vector<IndexEntry> entries = SortedEntries(count, 12, 1);
    const Built built = Build(entries, Jet4());
    EXPECT_EQ(built.shape.Levels(), 1u) << count;
    ExpectSameEntries(built.shape.entries, entries);
  }
}

TEST(IndexBuilder, ManyEntriesMakeLinkedLeavesUnderNodesWithTheRootBuiltLast) {
  for (const size_t count : {10'000, 100'000}) {
    const std::vector<IndexEntry> entries = SortedEntries(count, 6, 2);
    const Built built = Build(entries, Jet4());
    ExpectSameEntries(built.shape.entries, entries);
    EXPECT_GE(built.shape.Levels(), 2u);
    EXPECT_EQ(built.order.back(), kRoot);
    // Every page comes after the pages it points to.
    std::set<uint32_t> written;
    for (const uint32_t number : built.order) {
      const IndexPage& page = built.shape.pages.at(number);
      for (const IndexEntry& entry : page.entries) EXPECT_TRUE(page.leaf || written.contains(entry.child));
      if (page.tail != 0) EXPECT_TRUE(written.contains(page.tail));
      written.insert(number);
    }
  }
}

TEST(IndexBuilder, LeavesAreFilledToNineTenthsLeavingRoomForInserts) {
  const std::vector<IndexEntry> entries = SortedEntries(20'000, 9, 3);
  const Built built = Build(entries, Jet4());
  const std::vector<uint32_t>& leaves = built.shape.levels.back();
  ASSERT_GT(leaves.size(), 10u);
  const size_t budget = Jet4().Capacity() * kIndexBuildFillTenths / 10;
  for (size_t i = 0; i + 1 < leaves.size(); ++i) {
    IndexPage leaf = built.shape.pages.at(leaves[i]);
    EXPECT_LE(EncodedEntriesSize(leaf), budget) << "leaf " << leaves[i];
    leaf.entries.push_back(built.shape.pages.at(leaves[i + 1]).entries.front());
    EXPECT_GT(EncodedEntriesSize(leaf), budget) << "leaf " << leaves[i] << " had room for the next entry";
  }
}

TEST(IndexBuilder, LongKeysMakeThreeLevelsInBothLayouts) {
  const std::vector<IndexEntry> entries = SortedEntries(3'000, 250, 4);
  for (const IndexPageLayout* layout : {&Jet4(), &Jet3()}) {
    const Built built = Build(entries, *layout);
    ExpectSameEntries(built.shape.entries, entries);
    EXPECT_GE(built.shape.Levels(), 3u) << layout->pageSize;
  }
}

TEST(IndexBuilder, AnEntryLongerThanAPageIsRefused) {
  std::vector<IndexEntry> entries = SortedEntries(3, 10, 5);
  entries[1].key.assign(Jet3().Capacity(), 0x41);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return CompareEntries(a, b) < 0; });
  uint32_t next = 100;
  EXPECT_THROW(BuildIndexPages(entries, kRoot, kOwner, Jet3(), [&] { return next++; }), JetError);
}

}  // namespace
}  // namespace Jet
