// The index writer on a file: entries replaced one change at a time, the tree walked back after
// every change and compared with a model of its entries, its pages checked against the usage maps.
#include "jet/index/IndexWriter.h"

#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "jet/index/IndexBuilder.h"
#include "jet/index/IndexEdit.h"
#include "jet/index/IndexShapeCheck.h"
#include "jet/index/IndexTree.h"
#include "jet/page/DataPageEditor.h"
#include "jet/usagemap/UsageMapFormat.h"
#include "tests/jet/index/TreePages.h"
#include "tests/jet/write/PagesOfFile.h"

namespace Jet {
namespace {

using Testing::TreePages;
using Testing::RefusalNumber;

struct EntryLess {
  bool operator()(const IndexEntry& a, const IndexEntry& b) const { return CompareEntries(a, b) < 0; }
};
using Model = std::set<IndexEntry, EntryLess>;

IndexEntry Entry(std::vector<uint8_t> key, uint32_t page, uint8_t slot) {
  IndexEntry entry;
  entry.key = std::move(key);
  entry.page = page;
  entry.slot = slot;
  return entry;
}

// One index of a file opened below the engine's public face, changed through the index writer
// and checked against a model of its entries after every change. Either a new Jet4 file with an
// index of its table put in by hand (an owned-pages map of its own and a root page, both recorded
// as pages in use), or a copy of a corpus file and one of its table's indexes as Access wrote it.
class IndexFile {
 public:
  explicit IndexFile(const std::string& name)
      : file_(std::make_unique<Testing::PagesOfFile>(name, 3)), owner_(Table().definition->definitionPage) {
    DataPageEditor holder = DataPageEditor::Empty(Layout(), 0, false);
    holder.AddRow(std::vector<uint8_t>(kUsageMapRowSize, 0), 0);
    index_.ownedPages = RowPointer{Allocator().Allocate(holder.Build()), 0};
    index_.firstPage = NewIndexPage();
    writer_.emplace(Writer(), Allocator(), Layout());
  }

  IndexFile(const std::filesystem::path& copy, std::u16string_view table, size_t physicalIndex)
      : file_(Opened(copy, table)),
        owner_(Table().definition->definitionPage),
        index_(Table().physicalIndexes.at(physicalIndex)) {
    writer_.emplace(Writer(), Allocator(), Layout());
    IndexTree(Pages(), Layout(), index_.firstPage).ForEachEntry([&](const IndexEntry& entry) {
      model_.insert(entry);
      return true;
    });
    shape_ = Check();
  }

  const FormatLayout& Layout() const { return file_->Layout(); }
  const PageFile& Pages() const { return file_->Pages(); }
  PageWriter& Writer() { return file_->Writer(); }
  PageAllocator& Allocator() { return file_->Allocator(); }
  const TableLayout& Table() const { return file_->Table(); }
  const PhysicalIndexLayout& Index() const { return index_; }
  uint32_t Owner() const { return owner_; }
  IndexWriter& IndexWriterOf() { return *writer_; }
  const IndexPageLayout& PageLayout() const { return IndexPageLayoutOf(Layout()); }

  // Puts a built tree of `entries` on the root, its other pages new pages of the index.
  void Build(const Model& entries) {
    model_ = entries;
    const std::vector<IndexEntry> sorted(entries.begin(), entries.end());
    for (auto& [number, bytes] : BuildIndexPages(sorted, index_.firstPage, owner_, PageLayout(), [&] { return NewIndexPage(); }))
      Writer().Write(number, std::move(bytes));
    shape_ = Check();
  }

  // Replaces `before` by `after` in the file and in the model, checks the tree and returns the
  // pages the change added.
  size_t Replace(const std::optional<IndexEntry>& before, const std::optional<IndexEntry>& after) {
    const size_t allowed = IndexWriter::MaxNewPages(Pages(), Layout(), index_);
    EXPECT_EQ(allowed, IndexWriter::MaxNewPages(shape_.Levels()));
    const std::map<uint32_t, std::vector<uint8_t>> general = GeneralPathPages(before, after);
    const uint64_t written = Writer().PagesWritten();
    writer_->Replace(index_, owner_, before, after);
    // A change that adds and frees no page writes exactly the pages the general path writes, byte
    // for byte, whether it was made in place or not.
    if (!general.empty()) EXPECT_EQ(Writer().PagesWritten() - written, general.size());
    for (const auto& [number, bytes] : general) {
      const ByteSpan now = Pages().Read(number).Bytes();
      EXPECT_TRUE(std::equal(now.begin(), now.end(), bytes.begin(), bytes.end())) << "page " << number;
    }
    if (before) model_.erase(*before);
    if (after) model_.insert(*after);
    const TreePages previous = shape_;
    shape_ = Check();
    size_t added = 0;
    for (const auto& [number, page] : shape_.pages) added += previous.pages.contains(number) ? 0 : 1;
    EXPECT_LE(added, allowed);
    maxAdded_ = std::max(maxAdded_, added);
    return added;
  }

  const Model& Entries() const { return model_; }
  const TreePages& Shape() const { return shape_; }
  size_t MaxAdded() const { return maxAdded_; }

 private:
  static std::unique_ptr<Testing::OpenedPages> Opened(const std::filesystem::path& copy, std::u16string_view table) {
    const std::unique_ptr<Database> database = Database::Open(copy);
    return std::make_unique<Testing::OpenedPages>(copy, database->Info().format, database->Table(table)->definitionPage,
                                                  table);
  }

  // The pages the general path (the whole edit decoded) writes for a change that adds and frees
  // no page; none for other changes.
  std::map<uint32_t, std::vector<uint8_t>> GeneralPathPages(const std::optional<IndexEntry>& before,
                                                            const std::optional<IndexEntry>& after) const {
    std::map<uint32_t, std::vector<uint8_t>> pages;
    try {
      IndexEdit edit(Pages(), PageLayout(), index_.firstPage, owner_);
      if (before) edit.Remove(*before);
      if (after) edit.Insert(*after);
      if (!edit.Added().empty() || !edit.Emptied().empty()) return {};
      for (const uint32_t number : edit.Changed()) pages[number] = edit.Encode(number, {});
    } catch (const JetError&) {
      return {};
    }
    return pages;
  }

  uint32_t NewIndexPage() {
    IndexPage empty;
    empty.owner = owner_;
    const uint32_t number = Allocator().Allocate(EncodeIndexPage(empty, PageLayout()));
    Allocator().Maps().Add(index_.ownedPages, number);
    return number;
  }

  // The tree walked from its root: the model's entries, every page below the root in the index's
  // map and in use, every page that left the tree out of the map and free.
  TreePages Check() {
    TreePages shape = Testing::TreePagesOf(
        [&](uint32_t number) {
          const ByteSpan bytes = Pages().Read(number).Bytes();
          return std::vector<uint8_t>(bytes.begin(), bytes.end());
        },
        PageLayout(), index_.firstPage, owner_);
    EXPECT_EQ(shape.entries.size(), model_.size());
    EXPECT_TRUE(std::equal(shape.entries.begin(), shape.entries.end(), model_.begin(), model_.end(), SameRowAndKey))
        << "the tree's entries differ from the model's";
    // The engine's own checker sees the same tree and nothing wrong with it.
    const IndexShape checked = CheckIndexShape(Pages(), Layout(), index_.firstPage, owner_);
    EXPECT_TRUE(checked.problems.empty()) << checked.problems.front().what << " on page " << checked.problems.front().page;
    EXPECT_EQ(checked.pages, shape.pages.size());
    const UsageMapEditor& maps = Allocator().Maps();
    for (const uint32_t page : shape.PagesBelowRoot()) {
      EXPECT_TRUE(maps.Contains(index_.ownedPages, page)) << "page " << page << " not in the index's map";
      EXPECT_FALSE(maps.GlobalMarksFree(page)) << "page " << page << " free in the global map";
      everInTree_.insert(page);
    }
    for (const uint32_t page : everInTree_) {
      if (shape.pages.contains(page)) continue;
      EXPECT_FALSE(maps.Contains(index_.ownedPages, page)) << "released page " << page << " still in the index's map";
      EXPECT_TRUE(maps.GlobalMarksFree(page)) << "released page " << page << " not free";
    }
    return shape;
  }

  std::unique_ptr<Testing::OpenedPages> file_;
  uint32_t owner_;
  PhysicalIndexLayout index_;
  std::optional<IndexWriter> writer_;
  Model model_;
  TreePages shape_;
  std::set<uint32_t> everInTree_;
  size_t maxAdded_ = 0;
};

// Keys of about `length` bytes from a small alphabet, so that neighbours share prefixes.
std::vector<uint8_t> RandomKey(std::mt19937& random, size_t length) {
  std::vector<uint8_t> key(length - random() % 4);
  for (uint8_t& byte : key) byte = static_cast<uint8_t>(0x40 + random() % 5);
  return key;
}

IndexEntry RandomEntry(std::mt19937& random, size_t length) {
  return Entry(RandomKey(random, length), 1 + random() % 5000, static_cast<uint8_t>(random() % 256));
}

Model RandomEntries(std::mt19937& random, size_t count, size_t length) {
  Model model;
  while (model.size() < count) model.insert(RandomEntry(random, length));
  return model;
}

const IndexEntry& Pick(const Model& model, std::mt19937& random) {
  return *std::next(model.begin(), static_cast<std::ptrdiff_t>(random() % model.size()));
}

TEST(IndexWriter, AnEntryMovesWithinTheRootLeafWithoutNewPages) {
  IndexFile file("index-root.mdb");
  std::mt19937 random(1);
  file.Build(RandomEntries(random, 20, 8));
  const IndexEntry first = *file.Entries().begin();
  EXPECT_EQ(file.Replace(first, Entry({0xFF, 0x01}, first.page, first.slot)), 0u);
  EXPECT_EQ(file.Replace(std::nullopt, Entry({0x00}, 7, 7)), 0u);  // only an entry in
  EXPECT_EQ(file.Replace(Entry({0x00}, 7, 7), std::nullopt), 0u);  // only an entry out
  EXPECT_EQ(file.Shape().Levels(), 1u);
}

TEST(IndexWriter, AMissingOldEntryOrAPresentNewOneIsRefusedBeforeAnyWrite) {
  IndexFile file("index-refused.mdb");
  std::mt19937 random(2);
  file.Build(RandomEntries(random, 300, 40));
  const uint64_t written = file.Writer().PagesWritten();
  const IndexEntry present = Pick(file.Entries(), random);
  IndexEntry absent = present;
  absent.slot = static_cast<uint8_t>(absent.slot + 1);
  if (file.Entries().contains(absent)) absent.page += 7000;
  std::u16string why;
  EXPECT_EQ(RefusalNumber([&] { file.IndexWriterOf().Replace(file.Index(), file.Owner(), absent, std::nullopt); }, &why),
            JetErrorNumber::kCorrupt);
  EXPECT_NE(why.find(u"has no entry for the row"), std::u16string::npos);
  const IndexEntry other = *file.Entries().rbegin();
  EXPECT_EQ(RefusalNumber([&] { file.IndexWriterOf().Replace(file.Index(), file.Owner(), present, other); }, &why),
            JetErrorNumber::kCorrupt);
  EXPECT_NE(why.find(u"already has an entry"), std::u16string::npos);
  file.IndexWriterOf().Replace(file.Index(), file.Owner(), present, present);  // no change at all
  EXPECT_EQ(file.Writer().PagesWritten(), written);
}

TEST(IndexWriter, AMalformedTreeIsRefusedBeforeAnyWrite) {
  IndexFile file("index-malformed.mdb");
  std::mt19937 random(7);
  file.Build(RandomEntries(random, 300, 240));
  const uint32_t root = file.Index().firstPage;
  IndexPage page = DecodeIndexPage(file.Pages().Read(root).Bytes(), root, file.PageLayout());
  ASSERT_FALSE(page.leaf);
  const IndexEntry moved = Pick(file.Entries(), random);
  page.tail = file.Pages().PageCount() + 5;  // past the end of the file
  file.Writer().Write(root, EncodeIndexPage(page, file.PageLayout()));
  const uint64_t written = file.Writer().PagesWritten();
  const auto change = [&] { file.IndexWriterOf().Replace(file.Index(), file.Owner(), moved, std::nullopt); };
  EXPECT_EQ(RefusalNumber([&] {
              file.IndexWriterOf().Replace(file.Index(), file.Owner(), std::nullopt, Entry({0xFE}, 1, 1));
            }),
            JetErrorNumber::kCorrupt);
  EXPECT_EQ(file.Writer().PagesWritten(), written);
  page.tail = root;  // the root again, one level down
  file.Writer().Write(root, EncodeIndexPage(page, file.PageLayout()));
  EXPECT_EQ(RefusalNumber(change), JetErrorNumber::kCorrupt);
}

TEST(IndexWriter, GrowingAtEitherEndSplitsPagesAndNestsTheRootOnItsPage) {
  IndexFile file("index-grow.mdb");
  file.Build({});
  const uint32_t root = file.Index().firstPage;
  // Ascending keys all go to the last leaf, descending ones to the first.
  std::mt19937 random(6);
  for (uint32_t i = 0; i < 400; ++i) {
    std::vector<uint8_t> high = RandomKey(random, 240);
    high[0] = 0x80;
    high[1] = static_cast<uint8_t>(i >> 8);
    high[2] = static_cast<uint8_t>(i);
    file.Replace(std::nullopt, Entry(high, 10, static_cast<uint8_t>(i)));
    std::vector<uint8_t> low = RandomKey(random, 240);
    low[0] = 0x30;
    low[1] = static_cast<uint8_t>(~i >> 8);
    low[2] = static_cast<uint8_t>(~i);
    file.Replace(std::nullopt, Entry(low, 11, static_cast<uint8_t>(i)));
  }
  EXPECT_EQ(file.Shape().levels[0].front(), root);
  EXPECT_GE(file.Shape().Levels(), 3u);
}

TEST(IndexWriter, DeletingEveryEntryLeavesAnEmptyRootLeafAndTheTreeGrowsBackOnFreedPages) {
  IndexFile file("index-empty.mdb");
  std::mt19937 random(3);
  file.Build(RandomEntries(random, 500, 240));
  ASSERT_GE(file.Shape().Levels(), 3u);
  const std::set<uint32_t> built = file.Shape().PagesBelowRoot();
  const uint32_t fileEnd = file.Pages().PageCount();
  while (!file.Entries().empty()) file.Replace(Pick(file.Entries(), random), std::nullopt);
  EXPECT_EQ(file.Shape().pages.size(), 1u);
  EXPECT_TRUE(file.Shape().pages.at(file.Index().firstPage).leaf);

  for (const IndexEntry& entry : RandomEntries(random, 500, 240)) file.Replace(std::nullopt, entry);
  EXPECT_GE(file.Shape().Levels(), 3u);
  // The file grows only by the pages the freed ones do not cover.
  const std::set<uint32_t> grown = file.Shape().PagesBelowRoot();
  ASSERT_GE(grown.size(), built.size());
  for (const uint32_t page : grown) EXPECT_TRUE(built.contains(page) || page >= fileEnd) << page;
  EXPECT_EQ(file.Pages().PageCount() - fileEnd, grown.size() - built.size());
}

// One random change of an entry: to a random key, to the front, to the end, to another entry's
// key on its own row, or only out or only in (only in when the index is empty).
void RandomChange(IndexFile& file, std::mt19937& random, size_t length) {
  if (file.Entries().empty()) {
    file.Replace(std::nullopt, RandomEntry(random, length));
    return;
  }
  const IndexEntry before = Pick(file.Entries(), random);
  IndexEntry after = before;
  switch (random() % 6) {
    case 0: after.key = RandomKey(random, length); break;
    case 1: after.key = {static_cast<uint8_t>(random() % 0x40)}; break;
    case 2: after.key = std::vector<uint8_t>(length, static_cast<uint8_t>(0xC0 + random() % 0x40)); break;
    case 3: after.key = Pick(file.Entries(), random).key; break;
    case 4: file.Replace(before, std::nullopt); return;
    default:
      if (const IndexEntry added = RandomEntry(random, length); !file.Entries().contains(added))
        file.Replace(std::nullopt, added);
      return;
  }
  if (!file.Entries().contains(after) || SameRowAndKey(before, after)) file.Replace(before, after);
}

TEST(IndexWriter, RandomChangesOfLongKeysKeepAThreeLevelTreeRight) {
  IndexFile file("index-random-long.mdb");
  std::mt19937 random(4);
  file.Build(RandomEntries(random, 600, 240));
  ASSERT_GE(file.Shape().Levels(), 3u);
  const uint32_t root = file.Index().firstPage;
  for (int step = 0; step < 1500 && !::testing::Test::HasFailure(); ++step) RandomChange(file, random, 240);
  EXPECT_EQ(file.Shape().levels[0].front(), root);
  std::cout << "long keys: " << file.Entries().size() << " entries on " << file.Shape().pages.size() << " pages, "
            << file.Shape().Levels() << " levels; at most " << file.MaxAdded() << " new pages in one change\n";
}

TEST(IndexWriter, RandomChangesOfShortKeysInALargeTree) {
  IndexFile file("index-random-short.mdb");
  std::mt19937 random(5);
  file.Build(RandomEntries(random, 10'000, 10));
  for (int step = 0; step < 400 && !::testing::Test::HasFailure(); ++step) RandomChange(file, random, 10);
  std::cout << "short keys: " << file.Entries().size() << " entries on " << file.Shape().pages.size() << " pages, "
            << file.Shape().Levels() << " levels; at most " << file.MaxAdded() << " new pages in one change\n";
}

TEST(IndexWriter, TreesAccessWroteTakeRandomChangesInBothLayouts) {
  QUORVANE_REQUIRE_CORPUS();
  std::mt19937 random(8);
  for (const char* name : {"V1997/compIndexTestV1997.mdb", "V2007/compIndexTestV2007.accdb"}) {
    size_t deepest = 0;
    const size_t indexes = IndexFile(Testing::WritableCopy(name), u"Table1", 0).Table().physicalIndexes.size();
    for (size_t number = 0; number < indexes; ++number) {
      IndexFile file(Testing::WritableCopy(name), u"Table1", number);
      deepest = std::max(deepest, file.Shape().Levels());
      if (file.Entries().empty()) continue;
      for (int step = 0; step < 300 && !::testing::Test::HasFailure(); ++step) RandomChange(file, random, 12);
    }
    EXPECT_GE(deepest, 2u) << name << " has no index of two levels";
  }
}

}  // namespace
}  // namespace Jet
