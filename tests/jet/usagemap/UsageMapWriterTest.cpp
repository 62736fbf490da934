// Usage maps of both kinds as the creator writes them, read back by the map reader.
#include "jet/usagemap/UsageMapWriter.h"

#include <gtest/gtest.h>

#include "jet/usagemap/UsageMap.h"

namespace Jet {
namespace {

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet4);

struct ReadBack {
  bool indirect = false;
  std::vector<uint32_t> pages;
};

ReadBack Read(const Create::PageSet& set, RowPointer map) {
  std::vector<uint8_t> file;
  for (uint32_t n = 0; n < set.Count(); ++n) file.insert(file.end(), set.Page(n).begin(), set.Page(n).end());
  const PageFile pages(file, kLayout.pageSize);
  UsageMapCursor cursor(pages, kLayout, map);
  ReadBack back{cursor.IsIndirect(), {}};
  for (uint32_t page = 0; cursor.Next(page);) back.pages.push_back(page);
  return back;
}

TEST(UsageMapWriter, PagesCloseTogetherMakeAnInlineMapThatReadsBack) {
  Create::PageSet set(kLayout.pageSize);
  set.Allocate();  // the header page
  Create::UsageMapRows rows(set);
  const RowPointer map = rows.Reserve();
  const std::vector<uint32_t> owned{10, 11, 300, 521};
  rows.Write(map, owned);
  const ReadBack back = Read(set, map);
  EXPECT_FALSE(back.indirect);
  EXPECT_EQ(back.pages, owned);
}

TEST(UsageMapWriter, PagesFarApartMakeAnIndirectMapThatReadsBack) {
  Create::PageSet set(kLayout.pageSize);
  set.Allocate();
  Create::UsageMapRows rows(set);
  const RowPointer map = rows.Reserve();
  const uint32_t perMapPage = (kLayout.pageSize - 4) * 8;
  const std::vector<uint32_t> owned{5, 700, perMapPage + 1, 3 * perMapPage + 9};
  rows.Write(map, owned);
  const ReadBack back = Read(set, map);
  EXPECT_TRUE(back.indirect);
  EXPECT_EQ(back.pages, owned);
}

}  // namespace
}  // namespace Jet
