#include "jet/usagemap/UsageMap.h"

#include <gtest/gtest.h>

#include "tests/jet/PageBuilder.h"

namespace Jet {
namespace {

using namespace Testing;

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet3);

std::vector<uint32_t> AllPages(UsageMapCursor& cursor) {
  std::vector<uint32_t> pages;
  uint32_t page = 0;
  while (cursor.Next(page)) pages.push_back(page);
  return pages;
}

Bytes EmptyPage() { return Bytes(kLayout.pageSize, 0); }

Bytes MapPage(std::initializer_list<size_t> bits) {
  Bytes page(kLayout.pageSize, 0);
  page[0] = 0x05;
  page[1] = 0x01;
  for (const size_t bit : bits) page.at(4 + bit / 8) |= static_cast<uint8_t>(1u << (bit % 8));
  return page;
}

TEST(UsageMap, InlineMapStartsAtItsFirstPage) {
  Bytes row{0x00};
  AppendU32(row, 100);
  for (uint8_t byte : {0x05, 0x00, 0x80, 0x01}) row.push_back(byte);
  const Bytes file = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{Ascii("other")}, {row}})});
  const PageFile pages(file, kLayout.pageSize);
  UsageMapCursor cursor(pages, kLayout, RowPointer{1, 1});
  EXPECT_FALSE(cursor.IsIndirect());
  EXPECT_EQ(AllPages(cursor), (std::vector<uint32_t>{100, 102, 123, 124}));
}

TEST(UsageMap, IndirectMapReadsItsPagesOnlyWhenReached) {
  Bytes row{0x01};
  for (uint32_t page : {3u, 0u, 4u}) AppendU32(row, page);
  const Bytes file = FileOf({EmptyPage(), DataPageBytes(kLayout, 0, {{row}}), EmptyPage(),
                             MapPage({1, 5}), MapPage({0, 7})});
  const PageFile pages(file, kLayout.pageSize);
  UsageMapCursor cursor(pages, kLayout, RowPointer{1, 0});
  EXPECT_TRUE(cursor.IsIndirect());
  EXPECT_EQ(pages.ReadsServed(), 1u);  // just the page with the map row
  uint32_t page = 0;
  ASSERT_TRUE(cursor.Next(page));
  EXPECT_EQ(page, 1u);
  EXPECT_EQ(pages.ReadsServed(), 2u);  // and the first map page, not the second
  const uint32_t perMapPage = (kLayout.pageSize - 4) * 8;
  std::vector<uint32_t> rest = AllPages(cursor);
  EXPECT_EQ(rest, (std::vector<uint32_t>{5, 2 * perMapPage, 2 * perMapPage + 7}));
  EXPECT_EQ(pages.ReadsServed(), 3u);
}

TEST(UsageMap, MalformedMapsAreCorrupt) {
  Bytes unknownType{0x07, 0, 0, 0, 0};
  Bytes indirectToDataPage{0x01};
  AppendU32(indirectToDataPage, 1);
  Bytes indirectPastEnd{0x01};
  AppendU32(indirectPastEnd, 999);
  const Bytes file = FileOf({EmptyPage(), DataPageBytes(kLayout, 0,
                                                        {{unknownType}, {indirectToDataPage},
                                                         {indirectPastEnd}, {Bytes{0x00, 1}}})});
  const PageFile pages(file, kLayout.pageSize);
  for (const RowPointer where : {RowPointer{1, 0}, RowPointer{1, 1}, RowPointer{1, 2},
                                 RowPointer{1, 3}, RowPointer{1, 9}, RowPointer{0, 0}}) {
    try {
      UsageMapCursor cursor(pages, kLayout, where);
      AllPages(cursor);
      ADD_FAILURE() << "no error for slot " << where.slot << " of page " << where.page;
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    }
  }
}

}  // namespace
}  // namespace Jet
