#include <gtest/gtest.h>

#include <iostream>
#include <set>

#include "jet/Database.h"
#include "jet/index/IndexTree.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/index/IndexTestTrees.h"

namespace Jet {
namespace {

using Testing::CorpusDir;
using Testing::CorpusNextDir;
using Testing::Entry;
using Testing::ExpectCorruptAt;
using Testing::HandMadeFile;
using Testing::LocalTableLayouts;

std::vector<IndexEntry> EntriesOf(const IndexTree& tree) {
  std::vector<IndexEntry> entries;
  tree.ForEachEntry([&](const IndexEntry& entry) {
    entries.push_back(entry);
    return true;
  });
  return entries;
}

const OpenDatabase& Engine(const Database& database) { return dynamic_cast<const OpenDatabase&>(database); }

// Every entry is found again by a search for it, on the path the search takes; keys next to the
// entries' keys are found exactly when the walk saw them.
void ExpectSearchesAgreeWithTheWalk(const IndexTree& tree) {
  const std::vector<IndexEntry> entries = EntriesOf(tree);
  std::set<std::vector<uint8_t>> keys;
  for (const IndexEntry& entry : entries) keys.insert(entry.key);
  for (const IndexEntry& entry : entries) {
    const std::optional<IndexEntry> found = tree.LowerBound(entry);
    ASSERT_TRUE(found);
    EXPECT_TRUE(SameRowAndKey(*found, entry));
    EXPECT_TRUE(tree.HasKey(entry.key));
    const std::vector<uint32_t> path = tree.PathTo(entry);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), tree.Root());
    const IndexPage leaf = tree.ReadPage(path.back());
    EXPECT_TRUE(leaf.leaf);
    EXPECT_TRUE(std::any_of(leaf.entries.begin(), leaf.entries.end(),
                            [&](const IndexEntry& e) { return SameRowAndKey(e, entry); }));
    std::vector<uint8_t> longer = entry.key;
    longer.push_back(0x00);
    EXPECT_EQ(tree.HasKey(longer), keys.count(longer) == 1);
  }
  if (!entries.empty()) {
    IndexEntry past = entries.back();
    past.slot = 0xFF;
    past.page = 0xFFFFFF;
    EXPECT_FALSE(tree.LowerBound(past));
  }
}

TEST(IndexTreeTest, WalksEveryIndexOfEveryCorpusFileInOrder) {
  QUORVANE_REQUIRE_CORPUS();
  size_t files = 0, indexes = 0, entries = 0, multiPage = 0;
  for (const auto& file : Testing::AllCorpusFiles()) {
    SCOPED_TRACE(file.string());
    const auto database = Database::Open(file, OpenOptions{Testing::CorpusPassword(file)});
    const OpenDatabase& engine = Engine(*database);
    ++files;
    for (const auto& table : LocalTableLayouts(engine)) {
      for (const PhysicalIndexLayout& index : table->physicalIndexes) {
        const IndexTree tree(engine.Pages(), engine.Format(), index.firstPage);
        const std::vector<IndexEntry> walked = EntriesOf(tree);
        for (size_t i = 1; i < walked.size(); ++i)
          ASSERT_EQ(CompareEntries(walked[i - 1], walked[i]), std::strong_ordering::less) << index.firstPage;
        if (!tree.ReadPage(index.firstPage).leaf) ++multiPage;
        ++indexes;
        entries += walked.size();
      }
    }
  }
  std::cout << "walked " << indexes << " indexes (" << multiPage << " of more than one page) with " << entries
            << " entries in " << files << " files\n";
  EXPECT_GT(multiPage, 0u);
  EXPECT_GT(entries, indexes);
}

TEST(IndexTreeTest, StopsWhereTheVisitorSaysSo) {
  QUORVANE_REQUIRE_CORPUS();
  const auto database = Database::Open(CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const IndexTree tree(Engine(*database).Pages(), Engine(*database).Format(), 69);
  const std::vector<IndexEntry> all = EntriesOf(tree);
  std::vector<IndexEntry> first;
  tree.ForEachEntry([&](const IndexEntry& entry) {
    first.push_back(entry);
    return first.size() < 3;
  });
  ASSERT_EQ(first.size(), 3u);
  EXPECT_TRUE(SameRowAndKey(first[2], all[2]));
}

TEST(IndexTreeTest, SearchesTheTwoLevelTreesOfTheCompositeIndexFiles) {
  QUORVANE_REQUIRE_CORPUS();
  for (const char* name : {"V1997/compIndexTestV1997.mdb", "V2000/compIndexTestV2000.mdb",
                           "V2007/compIndexTestV2007.accdb"}) {
    SCOPED_TRACE(name);
    const auto database = Database::Open(CorpusDir() / name);
    const OpenDatabase& engine = Engine(*database);
    const auto table = engine.Layout(database->Table(u"Table1")->definitionPage);
    for (const PhysicalIndexLayout& index : table->physicalIndexes)
      ExpectSearchesAgreeWithTheWalk(IndexTree(engine.Pages(), engine.Format(), index.firstPage));
  }
}

TEST(IndexTreeTest, PathsLeadThroughTheRootToTheLeafHoldingTheEntry) {
  QUORVANE_REQUIRE_CORPUS();
  const auto database = Database::Open(CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const IndexTree tree(Engine(*database).Pages(), Engine(*database).Format(), 69);
  const IndexPage left = tree.ReadPage(70);
  const IndexPage right = tree.ReadPage(71);
  EXPECT_EQ(tree.PathTo(left.entries.front()), (std::vector<uint32_t>{69, 70}));
  EXPECT_EQ(tree.PathTo(left.entries.back()), (std::vector<uint32_t>{69, 70}));
  EXPECT_EQ(tree.PathTo(right.entries.front()), (std::vector<uint32_t>{69, 71}));
  // Between the two leaves' entries: the second leaf's first entry comes next.
  IndexEntry between = left.entries.back();
  between.slot = static_cast<uint8_t>(between.slot + 1);
  EXPECT_TRUE(SameRowAndKey(*tree.LowerBound(between), right.entries.front()));
}

TEST(IndexTreeTest, SearchesEveryIndexOfTheKeyCodeFiles) {
  QUORVANE_REQUIRE_CORPUS();
  std::vector<std::filesystem::path> files{CorpusDir() / "V1997/testIndexCodesV1997.mdb"};
  if (!CorpusNextDir().empty()) files.push_back(CorpusNextDir() / "V2000/testIndexCodes.mdb");
  for (const auto& file : files) {
    SCOPED_TRACE(file.string());
    const auto database = Database::Open(file);
    const OpenDatabase& engine = Engine(*database);
    for (const auto& table : LocalTableLayouts(engine))
      for (const PhysicalIndexLayout& index : table->physicalIndexes)
        ExpectSearchesAgreeWithTheWalk(IndexTree(engine.Pages(), engine.Format(), index.firstPage));
  }
}

TEST(IndexTreeTest, AnEmptyRootIsALeafWithoutEntries) {
  HandMadeFile file(4);
  file.Leaf(3, {});
  const IndexTree tree(file.Pages(), file.Format(), 3);
  EXPECT_TRUE(EntriesOf(tree).empty());
  EXPECT_FALSE(tree.LowerBound(Entry({0x7F}, 1, 0)));
  EXPECT_FALSE(tree.HasKey(std::vector<uint8_t>{}));
  EXPECT_EQ(tree.PathTo(Entry({0x7F}, 1, 0)), std::vector<uint32_t>{3});
}

TEST(IndexTreeTest, ANodeWhoseLastChildIsAnEntryLeadsPastItsEndToThatChild) {
  HandMadeFile file(6);
  file.Leaf(4, {Entry({0x10}, 1, 0), Entry({0x20}, 1, 1)}, 0, 5);
  file.Leaf(5, {Entry({0x30}, 1, 2)}, 4, 0);
  file.Node(3, {Entry({0x20}, 1, 1, 4), Entry({0x30}, 1, 2, 5)}, 0);
  const IndexTree tree(file.Pages(), file.Format(), 3);
  EXPECT_EQ(EntriesOf(tree).size(), 3u);
  EXPECT_EQ(tree.PathTo(Entry({0x40}, 0, 0)), (std::vector<uint32_t>{3, 5}));
  EXPECT_TRUE(tree.HasKey(std::vector<uint8_t>{0x30}));
  EXPECT_FALSE(tree.HasKey(std::vector<uint8_t>{0x25}));
  EXPECT_TRUE(SameRowAndKey(*tree.LowerBound(Entry({0x21}, 0, 0)), Entry({0x30}, 1, 2)));
}

TEST(IndexTreeTest, RefusesMalformedTreesNamingThePage) {
  const IndexEntry a = Entry({0x10}, 1, 0);
  const IndexEntry b = Entry({0x20}, 1, 1);
  auto everything = [](const IndexTree& tree) {
    tree.ForEachEntry([](const IndexEntry&) { return true; });
    tree.PathTo(Entry({0xFF}, 0, 0));
  };
  {
    SCOPED_TRACE("a node whose child is itself");
    HandMadeFile file(4);
    file.Node(3, {Entry(a.key, a.page, a.slot, 3)}, 0);
    const IndexTree tree(file.Pages(), file.Format(), 3);
    ExpectCorruptAt(3, [&] { tree.ForEachEntry([](const IndexEntry&) { return true; }); });
    ExpectCorruptAt(3, [&] { tree.LowerBound(a); });
  }
  {
    SCOPED_TRACE("a loop through two nodes");
    HandMadeFile file(5);
    file.Node(3, {}, 4);
    file.Node(4, {}, 3);
    const IndexTree tree(file.Pages(), file.Format(), 3);
    ExpectCorruptAt(3, [&] { everything(tree); });
    ExpectCorruptAt(3, [&] { tree.HasKey(std::vector<uint8_t>{0x10}); });
  }
  {
    SCOPED_TRACE("a leaf reached from two entries");
    HandMadeFile file(5);
    file.Leaf(4, {a, b});
    file.Node(3, {Entry(b.key, b.page, b.slot, 4)}, 4);
    ExpectCorruptAt(4, [&] { everything(IndexTree(file.Pages(), file.Format(), 3)); });
  }
  {
    SCOPED_TRACE("a child that is not an index page");
    HandMadeFile file(5);
    file.Node(3, {Entry(a.key, a.page, a.slot, 1)}, 0);
    ExpectCorruptAt(1, [&] { everything(IndexTree(file.Pages(), file.Format(), 3)); });
  }
  {
    SCOPED_TRACE("a child outside the file");
    HandMadeFile file(4);
    file.Node(3, {}, 900);
    ExpectCorruptAt(900, [&] { everything(IndexTree(file.Pages(), file.Format(), 3)); });
  }
  {
    SCOPED_TRACE("a node with no children");
    HandMadeFile file(4);
    file.Node(3, {}, 0);
    ExpectCorruptAt(3, [&] { IndexTree(file.Pages(), file.Format(), 3).LowerBound(a); });
  }
  {
    SCOPED_TRACE("a chain of nodes deeper than any tree");
    const uint32_t depth = kMaxIndexDepth + 2;
    HandMadeFile file(depth + 4);
    for (uint32_t page = 3; page < 3 + depth; ++page) file.Node(page, {}, page + 1);
    file.Leaf(3 + depth, {a});
    ExpectCorruptAt(3 + kMaxIndexDepth, [&] { everything(IndexTree(file.Pages(), file.Format(), 3)); });
  }
  {
    SCOPED_TRACE("a leaf linked to a node page");
    HandMadeFile file(6);
    file.Leaf(4, {a}, 0, 3);
    file.Node(3, {Entry(a.key, a.page, a.slot, 4)}, 0);
    ExpectCorruptAt(3, [&] { IndexTree(file.Pages(), file.Format(), 3).LowerBound(b); });
  }
}

}  // namespace
}  // namespace Jet
