// The page allocator on a new file: where new pages come from, what it records in the usage maps,
// and usage maps of both kinds written by the map editor and read back by the map reader.
#include "jet/usagemap/PageAllocator.h"

#include <set>

#include <gtest/gtest.h>

#include "jet/page/DataPageEditor.h"
#include "jet/usagemap/UsageMap.h"
#include "tests/jet/write/PagesOfFile.h"

namespace Jet {
namespace {

using Testing::PagesOfFile;
using Testing::RefusalNumber;

std::vector<uint8_t> LongValuePage(const FormatLayout& layout) { return DataPageEditor::Empty(layout, 0, true).Build(); }

std::set<uint32_t> PagesIn(const PagesOfFile& file, RowPointer map, bool* indirect = nullptr) {
  UsageMapCursor cursor(file.Pages(), file.Layout(), map);
  if (indirect != nullptr) *indirect = cursor.IsIndirect();
  std::set<uint32_t> pages;
  for (uint32_t page = 0; cursor.Next(page);) pages.insert(page);
  return pages;
}

TEST(PageAllocator, ANewPageGoesPastTheEndOfTheFileAndIsMarkedUsed) {
  PagesOfFile file("allocate.mdb", 5);
  const uint32_t end = file.Pages().PageCount();
  ASSERT_TRUE(file.Allocator().Maps().GlobalMarksFree(end));
  const uint32_t page = file.Allocator().Allocate(LongValuePage(file.Layout()));
  EXPECT_EQ(page, end);
  EXPECT_EQ(file.Pages().PageCount(), end + 1);
  EXPECT_FALSE(file.Allocator().Maps().GlobalMarksFree(page));
  EXPECT_TRUE(DataPage(file.Pages().Read(page), file.Layout()).RowCount() == 0);
}

TEST(PageAllocator, AReleasedPageLeavesItsOwnersMapsAndIsHandedOutBeforeTheFileGrows) {
  PagesOfFile file("release.mdb", 5);
  const TableLayout& table = file.Table();
  UsageMapEditor& maps = file.Allocator().Maps();
  const uint32_t page = file.Allocator().AllocateFor(LongValuePage(file.Layout()), table.ownedPages, table.freeSpacePages);
  EXPECT_TRUE(maps.Contains(table.ownedPages, page));
  EXPECT_TRUE(maps.Contains(table.freeSpacePages, page));

  file.Allocator().Release(page, table.ownedPages, table.freeSpacePages);
  EXPECT_FALSE(maps.Contains(table.ownedPages, page));
  EXPECT_FALSE(maps.Contains(table.freeSpacePages, page));
  EXPECT_TRUE(maps.GlobalMarksFree(page));

  const uint32_t end = file.Pages().PageCount();
  EXPECT_EQ(file.Allocator().Allocate(LongValuePage(file.Layout())), page);
  EXPECT_EQ(file.Pages().PageCount(), end);
  EXPECT_FALSE(maps.GlobalMarksFree(page));
}

TEST(PageAllocator, ATablesRoomIsOnAPageOfItsFreeSpaceMapThenOnTheNewPageItWasGiven) {
  PagesOfFile file("room.mdb", 5);
  const TableLayout& table = file.Table();
  const uint32_t tablePage = table.definition->definitionPage;
  const std::optional<uint32_t> listed = file.Allocator().TablePageWithRoom(table, 100, 0);
  ASSERT_TRUE(listed.has_value());
  EXPECT_TRUE(PagesIn(file, table.freeSpacePages).contains(*listed));
  EXPECT_EQ(file.Pages().Read(*listed).Type(), kDataPageType);
  EXPECT_EQ(OwnerOf(file.Pages().Read(*listed).Bytes()), tablePage);
  EXPECT_FALSE(file.Allocator().TablePageWithRoom(table, 100, *listed).has_value());  // the page to avoid
  EXPECT_FALSE(file.Allocator().TablePageWithRoom(table, file.Layout().pageSize, 0).has_value());  // too large

  const uint32_t added = file.Allocator().AddTablePage(table, DataPageEditor::Empty(file.Layout(), tablePage, false).Build());
  EXPECT_NE(added, *listed);
  EXPECT_TRUE(PagesIn(file, table.ownedPages).contains(added));
  EXPECT_TRUE(PagesIn(file, table.freeSpacePages).contains(added));
  EXPECT_EQ(file.Allocator().TablePageWithRoom(table, 100, 0), std::optional<uint32_t>(added));
}

// A map row of the new file (69 bytes) has 17 entries of map pages, each with a bitmap of 4092
// bytes: the last page its maps can record is 17 * 4092 * 8 - 1. Every check leaves 64 pages for
// the maps' own pages on top of what the change adds.
TEST(PageAllocator, AChangeIsRefusedWhenTheGlobalMapOrOneOfItsMapsCannotReachItsPages) {
  PagesOfFile file("reach.mdb", 5);
  const TableLayout& table = file.Table();
  const uint64_t reach = uint64_t{17} * 4092 * 8;
  const uint64_t room = reach - 1 - file.Pages().PageCount() - 64;  // new pages that still fit
  const uint32_t end = file.Pages().PageCount();
  const auto check = [&](std::vector<RowPointer> maps, uint64_t newPages) {
    return RefusalNumber([&] { file.Allocator().CheckMapsReach(maps, newPages); });
  };
  EXPECT_EQ(check({table.ownedPages, table.freeSpacePages}, 0), 0);
  EXPECT_EQ(check({table.ownedPages, table.freeSpacePages}, room), 0);
  EXPECT_EQ(check({table.ownedPages, table.freeSpacePages}, room + 1), JetErrorNumber::kNotSupported);
  EXPECT_EQ(check({}, room + 1), JetErrorNumber::kNotSupported);  // the global map alone
  EXPECT_EQ(file.Pages().PageCount(), end);  // refused before any write
}

TEST(UsageMapRoundTrip, AnInlineMapReadsBackThePagesWrittenIntoIt) {
  PagesOfFile file("inline-map.mdb", 5);
  const RowPointer map = file.Table().ownedPages;
  bool indirect = true;
  std::set<uint32_t> expected = PagesIn(file, map, &indirect);
  ASSERT_FALSE(indirect);
  ASSERT_FALSE(expected.empty());
  const uint32_t last = *expected.rbegin();
  for (const uint32_t page : {last + 1, last + 9, last + 200}) {
    file.Allocator().Maps().Add(map, page);
    expected.insert(page);
  }
  file.Allocator().Maps().Remove(map, last + 9);
  expected.erase(last + 9);
  EXPECT_EQ(PagesIn(file, map, &indirect), expected);
  EXPECT_FALSE(indirect);
}

TEST(UsageMapRoundTrip, AMapThatOutgrowsTheInlineFormReadsBackAsAnIndirectMap) {
  PagesOfFile file("indirect-map.mdb", 5);
  const RowPointer map = file.Table().ownedPages;
  std::set<uint32_t> expected = PagesIn(file, map);
  const uint32_t perMapPage = (file.Layout().pageSize - 4) * 8;
  for (const uint32_t page : {uint32_t{5000}, perMapPage + 3, 3 * perMapPage - 1}) {
    file.Allocator().Maps().Add(map, page);
    expected.insert(page);
  }
  bool indirect = false;
  EXPECT_EQ(PagesIn(file, map, &indirect), expected);
  EXPECT_TRUE(indirect);
  file.Allocator().Maps().Remove(map, perMapPage + 3);
  expected.erase(perMapPage + 3);
  EXPECT_EQ(PagesIn(file, map), expected);
}

}  // namespace
}  // namespace Jet
