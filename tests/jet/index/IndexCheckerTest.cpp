#include <gtest/gtest.h>

#include <iostream>

#include "jet/Database.h"
#include "jet/index/IndexChecker.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/IndexTree.h"
#include "tests/jet/CorpusFiles.h"
#include "tests/jet/index/IndexTestTrees.h"

namespace Jet {
namespace {

using Testing::CorpusDir;
using Testing::Entry;
using Testing::HandMadeFile;
using Testing::LocalTableLayouts;

const OpenDatabase& Engine(const Database& database) { return dynamic_cast<const OpenDatabase&>(database); }

std::string Listed(const std::vector<PageProblem>& problems) {
  std::string text;
  for (const PageProblem& problem : problems) text += "page " + std::to_string(problem.page) + ": " + problem.what + "\n";
  return text;
}

// Whether some problem on `page` says `words`.
bool Reports(const std::vector<PageProblem>& problems, uint32_t page, const std::string& words) {
  return std::any_of(problems.begin(), problems.end(), [&](const PageProblem& problem) {
    return problem.page == page && problem.what.find(words) != std::string::npos;
  });
}

std::vector<PageProblem> ShapeProblems(const HandMadeFile& file, uint32_t root) {
  return CheckIndexShape(file.Pages(), file.Format(), root, HandMadeFile::kOwner).problems;
}

TEST(IndexCheckerTest, FindsNothingWrongWithAnyIndexOfTheCorpus) {
  QUORVANE_REQUIRE_CORPUS();
  IndexCheckReport total;
  size_t tables = 0;
  for (const auto& file : Testing::AllCorpusFiles()) {
    SCOPED_TRACE(file.string());
    const auto database = Database::Open(file, OpenOptions{Testing::CorpusPassword(file)});
    const OpenDatabase& engine = Engine(*database);
    for (const auto& table : LocalTableLayouts(engine)) {
      const IndexCheckReport report =
          CheckTableIndexes(engine.Pages(), engine.Format(), database->Info().codePage, *table);
      for (const IndexProblem& problem : report.problems)
        ADD_FAILURE() << std::string(problem.index.begin(), problem.index.end()) << ": page " << problem.page << ": "
                      << problem.what;
      ++tables;
      total.indexes += report.indexes;
      total.entries += report.entries;
      total.pages += report.pages;
      total.notChecked.insert(total.notChecked.end(), report.notChecked.begin(), report.notChecked.end());
    }
  }
  std::cout << "checked " << total.indexes << " indexes of " << tables << " tables: " << total.entries
            << " entries on " << total.pages << " pages; rows not compared for " << total.notChecked.size()
            << " indexes\n";
  EXPECT_GT(total.indexes, total.notChecked.size());
}

// Leaves 4 and 5, linked, under node 3 whose one entry `first` leads to leaf 4 and whose tail is 5.
HandMadeFile TwoLeaves(std::vector<IndexEntry> left, std::vector<IndexEntry> right, const IndexEntry& first) {
  HandMadeFile file(6);
  file.Leaf(4, std::move(left), 0, 5);
  file.Leaf(5, std::move(right), 4, 0);
  file.Node(3, {Entry(first.key, first.page, first.slot, 4)}, 5);
  return file;
}

TEST(IndexCheckerTest, ASoundTwoLevelTreeHasNoProblems) {
  const HandMadeFile file = TwoLeaves({Entry({0x10}, 1, 0), Entry({0x20}, 1, 1)},
                                      {Entry({0x30}, 1, 2), Entry({0x40}, 1, 3)}, Entry({0x20}, 1, 1));
  const IndexShape shape = CheckIndexShape(file.Pages(), file.Format(), 3, HandMadeFile::kOwner);
  EXPECT_TRUE(shape.problems.empty()) << Listed(shape.problems);
  EXPECT_EQ(shape.entries.size(), 4u);
  EXPECT_EQ(shape.pages, 3u);
  EXPECT_EQ(shape.entries[2].leaf, 5u);
}

TEST(IndexCheckerTest, ReportsDamagedTreesPageByPageWithoutStopping) {
  const IndexEntry a = Entry({0x10}, 1, 0);
  const IndexEntry b = Entry({0x20}, 1, 1);
  const IndexEntry c = Entry({0x30}, 1, 2);
  {
    SCOPED_TRACE("entries out of order within a leaf");
    HandMadeFile file(4);
    IndexPage leaf{true, HandMadeFile::kOwner, 0, 0, 0, {b, a}};
    file.Put(3, leaf);
    EXPECT_TRUE(Reports(ShapeProblems(file, 3), 3, "entry 2 is not after entry 1")) << Listed(ShapeProblems(file, 3));
  }
  {
    SCOPED_TRACE("leaves out of order with each other");
    const HandMadeFile file = TwoLeaves({b, c}, {a}, c);
    EXPECT_TRUE(Reports(ShapeProblems(file, 3), 5, "not after the last entry of the leaf before it, page 4"))
        << Listed(ShapeProblems(file, 3));
  }
  {
    SCOPED_TRACE("a node entry that is not its child's last entry");
    const HandMadeFile file = TwoLeaves({a, b}, {c}, a);
    EXPECT_TRUE(Reports(ShapeProblems(file, 3), 3, "entry 1 differs from the last entry below its child, page 4"))
        << Listed(ShapeProblems(file, 3));
  }
  {
    SCOPED_TRACE("a child that is itself, and one that is no index page");
    HandMadeFile file(6);
    file.Leaf(4, {a});
    file.Node(3, {Entry(a.key, a.page, a.slot, 4), Entry(b.key, b.page, b.slot, 3)}, 1);
    const auto problems = ShapeProblems(file, 3);
    EXPECT_TRUE(Reports(problems, 3, "reached a second time")) << Listed(problems);
    EXPECT_TRUE(Reports(problems, 1, "not an index page")) << Listed(problems);
  }
  {
    SCOPED_TRACE("a loop of nodes and a child outside the file");
    HandMadeFile file(5);
    file.Node(3, {Entry(a.key, a.page, a.slot, 700)}, 4);
    file.Node(4, {}, 3);
    const auto problems = ShapeProblems(file, 3);
    EXPECT_TRUE(Reports(problems, 700, "not a page of the file")) << Listed(problems);
    EXPECT_TRUE(Reports(problems, 3, "reached a second time")) << Listed(problems);
  }
  {
    SCOPED_TRACE("a page of another table and broken leaf links");
    HandMadeFile file(6);
    file.Leaf(4, {a}, 0, 0);
    file.Put(5, IndexPage{true, 9, 3, 0, 0, {b}});
    file.Node(3, {Entry(a.key, a.page, a.slot, 4)}, 5);
    const auto problems = ShapeProblems(file, 3);
    EXPECT_TRUE(Reports(problems, 5, "belongs to the table at page 9")) << Listed(problems);
    EXPECT_TRUE(Reports(problems, 4, "links on to page 0 where the leaf after it is page 5")) << Listed(problems);
    EXPECT_TRUE(Reports(problems, 5, "links back to page 3 where the leaf before it is page 4")) << Listed(problems);
  }
  {
    SCOPED_TRACE("a chain of nodes deeper than any tree");
    constexpr uint32_t kDepth = kMaxIndexDepth;
    HandMadeFile file(kDepth + 6);
    for (uint32_t page = 3; page < kDepth + 5; ++page) file.Node(page, {}, page + 1);
    const auto problems = ShapeProblems(file, 3);
    EXPECT_TRUE(Reports(problems, 3 + kDepth, "deeper than")) << Listed(problems);
  }
}

// A copy of compIndexTestV2007.accdb whose leaf 70 (of Table1's index on a descending Long) has
// been changed by `change`, with the problems the checker reports for that table.
std::vector<IndexProblem> ProblemsAfterChangingLeaf70(const std::function<void(IndexPage&)>& change) {
  auto bytes = Testing::ReadBytes(CorpusDir() / "V2007/compIndexTestV2007.accdb");
  const IndexPageLayout& layout = IndexPageLayoutOf(LayoutOf(FileFormat::Jet4));
  const auto at = bytes.begin() + 70 * 4096;
  IndexPage leaf = DecodeIndexPage(std::vector<uint8_t>(at, at + 4096), 70, layout);
  change(leaf);
  const auto page = EncodeIndexPage(leaf, layout);
  std::copy(page.begin(), page.end(), at);
  const auto file = Testing::WriteBytes(Testing::ScratchDir() / "damaged.accdb", bytes);
  const auto database = Database::Open(file);
  const auto table = Engine(*database).Layout(database->Table(u"Table1")->definitionPage);
  const IndexCheckReport report =
      CheckTableIndexes(Engine(*database).Pages(), Engine(*database).Format(), 1252, *table);
  EXPECT_TRUE(report.notChecked.empty());
  return report.problems;
}

bool Reports(const std::vector<IndexProblem>& problems, uint32_t page, const std::string& words) {
  return std::any_of(problems.begin(), problems.end(), [&](const IndexProblem& problem) {
    return problem.page == page && problem.what.find(words) != std::string::npos && !problem.index.empty();
  });
}

std::string Listed(const std::vector<IndexProblem>& problems) {
  std::string text;
  for (const IndexProblem& problem : problems) text += "page " + std::to_string(problem.page) + ": " + problem.what + "\n";
  return text;
}

TEST(IndexCheckerTest, ComparesEveryEntryWithItsRow) {
  QUORVANE_REQUIRE_CORPUS();
  {
    SCOPED_TRACE("unchanged");
    const auto problems = ProblemsAfterChangingLeaf70([](IndexPage&) {});
    EXPECT_TRUE(problems.empty()) << Listed(problems);
  }
  {
    SCOPED_TRACE("a key byte flipped");
    const auto problems = ProblemsAfterChangingLeaf70([](IndexPage& leaf) { leaf.entries[5].key.back() ^= 0x01; });
    EXPECT_TRUE(Reports(problems, 70, "the row's key is")) << Listed(problems);
  }
  {
    SCOPED_TRACE("an entry taken out");
    IndexEntry removed;
    const auto problems = ProblemsAfterChangingLeaf70([&](IndexPage& leaf) {
      removed = leaf.entries[5];
      leaf.entries.erase(leaf.entries.begin() + 5);
    });
    EXPECT_TRUE(Reports(problems, 70, "row " + std::to_string(removed.slot) + " of page " +
                                          std::to_string(removed.page) + " has no entry"))
        << Listed(problems);
  }
  {
    SCOPED_TRACE("an entry naming a row that is not there");
    const auto problems = ProblemsAfterChangingLeaf70([](IndexPage& leaf) { leaf.entries[5].slot = 250; });
    EXPECT_TRUE(Reports(problems, 70, "which is not a row of the table")) << Listed(problems);
  }
}

TEST(IndexCheckerTest, ReportsAKeyHeldTwiceInAUniqueIndex) {
  QUORVANE_REQUIRE_CORPUS();
  auto bytes = Testing::ReadBytes(CorpusDir() / "V2007/indexTestV2007.accdb");
  const auto original = Database::Open(CorpusDir() / "V2007/indexTestV2007.accdb");
  const auto table = Engine(*original).Layout(original->Table(u"Table1")->definitionPage);
  const auto primary = std::find_if(table->definition->indexes.begin(), table->definition->indexes.end(),
                                    [](const Index& index) { return index.primaryKey; });
  ASSERT_NE(primary, table->definition->indexes.end());
  const uint32_t root = table->physicalIndexes[primary->physicalIndex].firstPage;
  const IndexPageLayout& layout = IndexPageLayoutOf(LayoutOf(FileFormat::Jet4));
  const auto at = bytes.begin() + root * 4096;
  IndexPage leaf = DecodeIndexPage(std::vector<uint8_t>(at, at + 4096), root, layout);
  ASSERT_TRUE(leaf.leaf);
  ASSERT_GE(leaf.entries.size(), 2u);
  leaf.entries[1].key = leaf.entries[0].key;
  const auto page = EncodeIndexPage(leaf, layout);
  std::copy(page.begin(), page.end(), at);
  const auto database = Database::Open(Testing::WriteBytes(Testing::ScratchDir() / "twice.accdb", bytes));
  const auto problems =
      CheckIndexes(Engine(*database).Pages(), Engine(*database).Format(), 1252,
                   *Engine(*database).Layout(database->Table(u"Table1")->definitionPage));
  EXPECT_TRUE(Reports(problems, root, "of a unique index is held by both")) << Listed(problems);
}

}  // namespace
}  // namespace Jet
