// The in-place leaf edit: every page it makes is compared with the page the general path's encoder
// makes of the same edited entries, on built leaves of both page layouts and on a leaf Access
// wrote; the edits it must leave to the general path are refused.
#include "jet/index/LeafSplice.h"

#include <random>

#include <gtest/gtest.h>

#include "jet/index/IndexPage.h"
#include "tests/jet/CorpusFiles.h"

namespace Jet {
namespace {

const IndexPageLayout& Jet4Pages() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet4)); }
const IndexPageLayout& Jet3Pages() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet3)); }

IndexEntry Entry(const std::string& key, uint32_t page, uint8_t slot) {
  return IndexEntry{std::vector<uint8_t>(key.begin(), key.end()), page, slot, 0};
}

// A leaf of `entries` (in order) as the general path encodes it, with links to show they stay.
std::vector<uint8_t> LeafOf(const std::vector<IndexEntry>& entries, const IndexPageLayout& layout) {
  IndexPage page;
  page.owner = 9;
  page.previous = 41;
  page.next = 43;
  page.entries = entries;
  return EncodeIndexPage(page, layout);
}

// The outcome of one edit: the in-place page, or none where the edit was refused.
struct Spliced {
  std::optional<std::vector<uint8_t>> page;
  std::vector<IndexEntry> edited;  // the entries after the edit, as a model
};

// Edits `leaf` (its decoded entries `entries`): removes the entry at `removeAt`, inserts `added`.
Spliced Splice(ByteSpan leaf, std::vector<IndexEntry> entries, std::optional<size_t> removeAt,
               const std::optional<IndexEntry>& added, const IndexPageLayout& layout) {
  IndexPageView view;
  EXPECT_TRUE(view.Read(leaf, layout));
  LeafEdit edit;
  edit.removeAt = removeAt;
  if (added) {
    edit.inserted = &*added;
    edit.insertAt = view.LowerBound(*added);
  }
  Spliced result;
  if (removeAt) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(*removeAt));
  if (added) {
    const auto at = std::lower_bound(entries.begin(), entries.end(), *added,
                                     [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
    entries.insert(at, *added);
  }
  result.edited = std::move(entries);
  std::vector<uint8_t> page;
  std::vector<uint16_t> ends;
  if (SpliceLeaf(view, edit, layout, page, ends)) result.page = std::move(page);
  return result;
}

// Expects the edit made in place, byte for byte the page the general path encodes.
void ExpectSameAsEncoded(const std::vector<IndexEntry>& entries, std::optional<size_t> removeAt,
                         const std::optional<IndexEntry>& added, const IndexPageLayout& layout) {
  const Spliced spliced = Splice(LeafOf(entries, layout), entries, removeAt, added, layout);
  ASSERT_TRUE(spliced.page.has_value()) << "the edit was left to the general path";
  EXPECT_EQ(*spliced.page, LeafOf(spliced.edited, layout));
}

// Keys sharing "Customer " and more, as the benchmark's names do.
std::vector<IndexEntry> Customers(size_t count, const std::string& stem = "Customer ") {
  std::vector<IndexEntry> entries;
  for (size_t i = 0; i < count; ++i) entries.push_back(Entry(stem + std::to_string(100 + i * 3), 1000, 1));
  return entries;
}

TEST(LeafSpliceTest, RemovesAtTheStartAndInTheMiddleInBothLayouts) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    const std::vector<IndexEntry> entries = Customers(20);
    ExpectSameAsEncoded(entries, 0, std::nullopt, *layout);
    ExpectSameAsEncoded(entries, 1, std::nullopt, *layout);
    ExpectSameAsEncoded(entries, 10, std::nullopt, *layout);
    ExpectSameAsEncoded(entries, 18, std::nullopt, *layout);
  }
}

TEST(LeafSpliceTest, InsertsAtTheStartAndInTheMiddleInBothLayouts) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    const std::vector<IndexEntry> entries = Customers(20);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Customer 1", 5, 2), *layout);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Customer 130", 5, 2), *layout);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Customer 15", 5, 2), *layout);
  }
}

TEST(LeafSpliceTest, MovesAnEntryWithinTheLeafInOneEdit) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    const std::vector<IndexEntry> entries = Customers(30);
    // Out of the middle, into the start; out of the start, into the middle; into its own place.
    ExpectSameAsEncoded(entries, 12, Entry("Customer 0", 1000, 1), *layout);
    ExpectSameAsEncoded(entries, 0, Entry("Customer 150", 1000, 1), *layout);
    ExpectSameAsEncoded(entries, 5, Entry("Customer 115 ", 1000, 1), *layout);
    ExpectSameAsEncoded(entries, 0, Entry("Customer 1001", 1000, 1), *layout);
  }
}

TEST(LeafSpliceTest, KeysThatChangeTheSharedPrefixReencodeTheOtherEntries) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    const std::vector<IndexEntry> entries = Customers(15);
    // A first key sharing less with the last one shortens the prefix; none at all removes it.
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Cust", 7, 7), *layout);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("A", 7, 7), *layout);
    ExpectSameAsEncoded(entries, 0, Entry("Bob", 7, 7), *layout);
    // Removing a first key that shares less lengthens it.
    std::vector<IndexEntry> shortFirst = entries;
    shortFirst.insert(shortFirst.begin(), Entry("Cu", 2, 2));
    ExpectSameAsEncoded(shortFirst, 0, std::nullopt, *layout);
    // Leaving one entry leaves no prefix.
    ExpectSameAsEncoded({Entry("Customer 1", 1, 1), Entry("Customer 2", 1, 1)}, 0, std::nullopt, *layout);
  }
}

TEST(LeafSpliceTest, DuplicateKeysAreOrderedByTheirRows) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    std::vector<IndexEntry> entries;
    for (uint32_t page = 10; page < 40; page += 3)
      for (uint8_t slot = 0; slot < 4; ++slot) entries.push_back(Entry("Same key", page, slot));
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Same key", 11, 0), *layout);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Same key", 10, 5), *layout);
    ExpectSameAsEncoded(entries, std::nullopt, Entry("Same key", 1, 200), *layout);
    ExpectSameAsEncoded(entries, 7, Entry("Same key", 0x20, 9), *layout);
    // A key that is a proper prefix of the others sorts before them whatever its row.
    ExpectSameAsEncoded(entries, 3, Entry("Same", 0xFFFFFF, 255), *layout);
  }
}

TEST(LeafSpliceTest, LeavesEditsOfTheLastEntryToTheGeneralPath) {
  const std::vector<IndexEntry> entries = Customers(10);
  const std::vector<uint8_t> leaf = LeafOf(entries, Jet4Pages());
  // The last entry out (the parent copies it), an entry past the last one in, the only entry out.
  EXPECT_FALSE(Splice(leaf, entries, 9, std::nullopt, Jet4Pages()).page);
  EXPECT_FALSE(Splice(leaf, entries, std::nullopt, Entry("Customer 999", 1, 1), Jet4Pages()).page);
  EXPECT_FALSE(Splice(leaf, entries, 9, Entry("Customer 1", 1, 1), Jet4Pages()).page);
  const std::vector<IndexEntry> one{Entry("Alone", 1, 1)};
  EXPECT_FALSE(Splice(LeafOf(one, Jet4Pages()), one, 0, std::nullopt, Jet4Pages()).page);
  // Before the last entry is in place.
  ExpectSameAsEncoded(one, std::nullopt, Entry("Aa", 1, 1), Jet4Pages());
}

TEST(LeafSpliceTest, LeavesALeafThatWouldOverflowToTheSplit) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    // Entries of distinct keys until the next one would not fit; that one then goes to the split.
    std::vector<IndexEntry> entries;
    std::optional<IndexEntry> overflowing;
    for (size_t i = 0; !overflowing; ++i) {
      const IndexEntry next = Entry(std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(10000 + i), 1, 1);
      std::vector<IndexEntry> more = entries;
      more.insert(std::lower_bound(more.begin(), more.end(), next,
                                   [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; }),
                  next);
      IndexPage page;
      page.entries = more;
      if (FitsIndexPage(page, *layout))
        entries = std::move(more);
      else
        overflowing = next;
    }
    ASSERT_TRUE(CompareEntries(*overflowing, entries.back()) < 0);
    const std::vector<uint8_t> full = LeafOf(entries, *layout);
    EXPECT_FALSE(Splice(full, entries, std::nullopt, *overflowing, *layout).page);
    // Moving an entry for a longer one does not fit either; for one as long it does.
    const std::string third(entries[3].key.begin(), entries[3].key.end());
    EXPECT_FALSE(Splice(full, entries, 3, Entry(third + "and more", 1, 1), *layout).page);
    ExpectSameAsEncoded(entries, 3, Entry(third, 2, 1), *layout);
  }
}

TEST(LeafSpliceTest, Jet3RefusesASharedPrefixItsOneByteCannotSay) {
  const std::string stem(300, 'x');
  const std::vector<IndexEntry> entries{Entry("a", 1, 1), Entry(stem + "b", 1, 1), Entry(stem + "c", 1, 1)};
  // Taking out the first entry leaves two of 300 shared bytes: more than 255; Jet4's two bytes
  // say it.
  EXPECT_FALSE(Splice(LeafOf(entries, Jet3Pages()), entries, 0, std::nullopt, Jet3Pages()).page);
  ExpectSameAsEncoded(entries, 0, std::nullopt, Jet4Pages());
}

TEST(LeafSpliceTest, RandomEditsMatchTheEncoderOrAreRefusedForAReason) {
  std::mt19937 random(20261208);
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    size_t inPlace = 0;
    for (int round = 0; round < 3000; ++round) {
      std::vector<IndexEntry> entries;
      const size_t count = 1 + random() % 60;
      for (size_t i = 0; i < count; ++i) {
        std::string key = "K" + std::string(random() % 4, 'a');
        for (size_t n = random() % 12; n > 0; --n) key.push_back(static_cast<char>('a' + random() % 3));
        entries.push_back(Entry(key, random() % 4, static_cast<uint8_t>(random() % 3)));
      }
      std::sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
      entries.erase(std::unique(entries.begin(), entries.end(), SameRowAndKey), entries.end());
      std::optional<size_t> removeAt;
      if (random() % 3 != 0) removeAt = random() % entries.size();
      std::optional<IndexEntry> added;
      if (random() % 3 != 0) {
        std::string key = random() % 5 == 0 ? "J" : "K";
        for (size_t n = random() % 14; n > 0; --n) key.push_back(static_cast<char>('a' + random() % 3));
        added = Entry(key, random() % 4, static_cast<uint8_t>(random() % 3));
        const bool present = std::any_of(entries.begin(), entries.end(), [&](const IndexEntry& e) { return SameRowAndKey(e, *added); });
        if (present) added.reset();
      }
      const Spliced spliced = Splice(LeafOf(entries, *layout), entries, removeAt, added, *layout);
      IndexPage edited;
      edited.entries = spliced.edited;
      const bool lastKept = !spliced.edited.empty() && SameRowAndKey(spliced.edited.back(), entries.back());
      const bool fits = FitsIndexPage(edited, *layout);
      ASSERT_EQ(spliced.page.has_value(), lastKept && fits) << "round " << round;
      if (spliced.page) {
        ++inPlace;
        ASSERT_EQ(*spliced.page, LeafOf(spliced.edited, *layout)) << "round " << round;
      }
    }
    EXPECT_GT(inPlace, 1000u);
  }
}

TEST(LeafSpliceTest, ANodeEntryTakesItsChildsNewLastEntryWithTheChildKept) {
  for (const IndexPageLayout* layout : {&Jet4Pages(), &Jet3Pages()}) {
    IndexPage node;
    node.leaf = false;
    node.owner = 9;
    node.tail = 77;
    for (uint32_t child = 0; child < 12; ++child) {
      node.entries.push_back(Entry("Customer " + std::to_string(200 + child * 10), 500 + child, 3));
      node.entries.back().child = 60 + child;
    }
    const std::vector<uint8_t> bytes = EncodeIndexPage(node, *layout);
    IndexPageView view;
    ASSERT_TRUE(view.Read(bytes, *layout));
    ASSERT_FALSE(view.Leaf());
    // Child 64's last entry grows (in its place among the entries), child 71's (the last entry,
    // beside the tail) shrinks.
    for (const auto& [at, key] : {std::pair<size_t, std::string>{4, "Customer 245"}, {11, "Customer 305"}}) {
      IndexEntry last = Entry(key, 900, 1);
      last.child = view.ChildOf(at);
      LeafEdit edit;
      edit.removeAt = at;
      edit.inserted = &last;
      edit.insertAt = view.LowerBound(last);
      EXPECT_EQ([&] {
        std::vector<uint8_t> page;
        std::vector<uint16_t> ends;
        return SpliceLeaf(view, edit, *layout, page, ends);
      }(), at != 11) << "only the node's last entry changing is refused unless the caller sees to the parent";
      edit.lastMayChange = true;
      std::vector<uint8_t> page;
      std::vector<uint16_t> ends;
      ASSERT_TRUE(SpliceLeaf(view, edit, *layout, page, ends));
      IndexPage expected = node;
      expected.entries[at] = last;
      EXPECT_EQ(page, EncodeIndexPage(expected, *layout)) << key;
    }
  }
}

TEST(LeafSpliceTest, EditsALeafAccessWroteAsTheEncoderWould) {
  QUORVANE_REQUIRE_CORPUS();
  const auto file = Testing::ReadBytes(Testing::CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const std::vector<uint8_t> bytes(file.begin() + 70 * 4096, file.begin() + 71 * 4096);
  const IndexPage page = DecodeIndexPage(bytes, 70, Jet4Pages());
  IndexPageView view;
  ASSERT_TRUE(view.Read(bytes, Jet4Pages()));
  ASSERT_EQ(view.Count(), page.entries.size());
  for (size_t i = 0; i < view.Count(); ++i) ASSERT_TRUE(view.Compare(i, page.entries[i]) == 0) << i;
  IndexEntry added = page.entries[200];
  added.slot = static_cast<uint8_t>(added.slot + 1);
  const Spliced spliced = Splice(bytes, page.entries, 17, added, Jet4Pages());
  ASSERT_TRUE(spliced.page);
  IndexPage edited = page;
  edited.entries = spliced.edited;
  EXPECT_EQ(*spliced.page, EncodeIndexPage(edited, Jet4Pages()));
}

}  // namespace
}  // namespace Jet
