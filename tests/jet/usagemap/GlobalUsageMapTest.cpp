// The global usage map (page 1) as the writer leaves it when updates add pages beyond what the map
// reached: converted from inline to indirect, or given the map page it lacked, with every page of
// the file recorded and every page in use marked so.
#include <set>

#include <gtest/gtest.h>

#include "jet/base/ByteReader.h"
#include "jet/Creator.h"
#include "jet/page/DataPage.h"
#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/usagemap/UsageMap.h"
#include "tests/jet/write/WriterFixture.h"

namespace Jet {
namespace {

using Main::Value;
using Testing::OpenForWriting;
using Testing::RowAt;

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet4);
const uint32_t kPagesPerMapPage = (kLayout.pageSize - 4) * 8;

// What page 1 says about the file's pages.
struct GlobalMapView {
  bool indirect = false;
  uint64_t reach = 0;  // pages 0 to reach - 1 are recorded
  std::set<uint32_t> free;
};

GlobalMapView ReadGlobalMap(const std::vector<uint8_t>& file) {
  const PageFile pages(file, kLayout.pageSize);
  const DataPage holder(pages.Read(1), kLayout);
  const ByteSpan row = holder.RowBytes(holder.Slot(0));
  GlobalMapView view;
  view.indirect = row[0] == 0x01;
  if (view.indirect) {
    while (1 + 4 * (view.reach / kPagesPerMapPage) + 4 <= row.size() &&
           ReadU32(row, 1 + 4 * (view.reach / kPagesPerMapPage)) != 0)
      view.reach += kPagesPerMapPage;
  } else {
    view.reach = ReadU32(row, 1) == 0 ? (row.size() - 5) * 8 : 0;
  }
  UsageMapCursor cursor(pages, kLayout, RowPointer{1, 0});
  for (uint32_t page = 0; cursor.Next(page);) view.free.insert(page);
  return view;
}

// Every page of the file is within the map's reach, none that holds anything is marked free, and
// the pages past the end of the file that the map reaches are free.
void ExpectEveryPageRecorded(const std::filesystem::path& file) {
  const std::vector<uint8_t> bytes = Testing::ReadBytes(file);
  const uint32_t pageCount = static_cast<uint32_t>(bytes.size() / kLayout.pageSize);
  const GlobalMapView map = ReadGlobalMap(bytes);
  EXPECT_GE(map.reach, pageCount);
  size_t markedFreeButHolding = 0;
  for (const uint32_t page : map.free)
    if (page < pageCount && bytes[size_t{page} * kLayout.pageSize] != 0) {
      const PageFile pages(bytes, kLayout.pageSize);
      const Page held = pages.Read(page);
      bool live = held.Type() != kDataPageType;
      if (!live) {
        const DataPage data(held, kLayout);
        for (uint16_t slot = 0; slot < data.RowCount(); ++slot) live = live || !data.Slot(slot).deleted;
      }
      if (live) ++markedFreeButHolding;
    }
  EXPECT_EQ(markedFreeButHolding, 0u);
  size_t pastTheEnd = 0;
  for (const uint32_t page : map.free) pastTheEnd += page >= pageCount;
  EXPECT_EQ(pastTheEnd, map.reach - pageCount);
}

std::u16string MemoText(size_t row, size_t length) {
  std::u16string text = Main::FromUtf8("memo " + std::to_string(row) + " ");
  text.resize(length, static_cast<char16_t>(u'a' + row % 26));
  return text;
}

// A table of memos of `length` characters, `rows` of them.
std::filesystem::path MakeMemoTable(const std::string& name, size_t rows, size_t length) {
  const auto file = Testing::ScratchDir() / name;
  auto creator = CreateDatabase(file, FileFormat::Jet4);
  creator.AddTable({u"Notes", {{u"Id", FieldType::LongInteger}, {u"Note", FieldType::Memo}}});
  creator.InsertGenerated(u"Notes", rows, [length](size_t n, Row& row) {
    row.assign({Value::Integer(static_cast<int64_t>(n)), Value::Text(MemoText(n, length))});
  });
  creator.Close();
  return file;
}

// Writes the new memos through the update path, then reads every row back through the engine.
void UpdateAndCheck(const std::filesystem::path& file, size_t rows, size_t length,
                    const std::vector<std::pair<size_t, size_t>>& updates) {
  std::vector<std::u16string> expected;
  for (size_t n = 0; n < rows; ++n) expected.push_back(MemoText(n, length));
  {
    auto database = OpenForWriting(file);
    const auto table = database->Table(u"Notes");
    for (const auto& [row, newLength] : updates) {
      expected[row] = MemoText(row + 1, newLength);
      database->UpdateText(*table, RowAt(*database, table, row), 1, expected[row]);
    }
  }
  const auto database = Database::Open(file);
  const auto table = database->Table(u"Notes");
  size_t n = 0;
  for (auto cursor = database->Scan(table); cursor->Next(); ++n) {
    ASSERT_LT(n, rows);
    EXPECT_EQ(cursor->Get(0), Value::Integer(static_cast<int64_t>(n)));
    EXPECT_TRUE(cursor->Get(1) == Value::Text(expected[n])) << "row " << n;
  }
  EXPECT_EQ(n, rows);
}

TEST(GlobalUsageMap, AnInlineMapThatCannotReachANewPageBecomesIndirect) {
  QUORVANE_REQUIRE_MDBTOOLS();
  const size_t rows = 50, length = 16000;  // a memo of 32,000 bytes in UCS-2: 8 pages
  const auto file = MakeMemoTable("inline.mdb", rows, length);
  const GlobalMapView before = ReadGlobalMap(Testing::ReadBytes(file));
  ASSERT_FALSE(before.indirect);
  ASSERT_LT(std::filesystem::file_size(file) / kLayout.pageSize, before.reach);

  // Three memos of about 50 pages each carry the file past the inline map's 512 pages.
  UpdateAndCheck(file, rows, length, {{3, 100000}, {40, 105000}, {49, 110000}});
  EXPECT_GT(std::filesystem::file_size(file) / kLayout.pageSize, before.reach);
  EXPECT_TRUE(ReadGlobalMap(Testing::ReadBytes(file)).indirect);
  ExpectEveryPageRecorded(file);

  const auto exported = Oracle::MdbExport(file, "Notes");
  ASSERT_EQ(exported.size(), rows + 1);  // with the header line
  for (size_t n = 1; n <= rows; ++n) EXPECT_EQ(exported[n][0].text, std::to_string(n - 1));
  EXPECT_EQ(exported[4][1].text.size(), 100000u);
}

TEST(GlobalUsageMap, AnIndirectMapGetsTheMapPageItLacks) {
  // About 29,400 pages (memos of 8 MB): short of what the one map page of a new file's map reaches.
  const size_t rows = 15, length = 4000000;
  const auto file = MakeMemoTable("indirect.mdb", rows, length);
  const GlobalMapView before = ReadGlobalMap(Testing::ReadBytes(file));
  ASSERT_TRUE(before.indirect);
  ASSERT_EQ(before.reach, kPagesPerMapPage);

  UpdateAndCheck(file, rows, length, {{7, 8000000}});
  EXPECT_GT(std::filesystem::file_size(file) / kLayout.pageSize, kPagesPerMapPage);
  EXPECT_EQ(ReadGlobalMap(Testing::ReadBytes(file)).reach, 2 * kPagesPerMapPage);
  ExpectEveryPageRecorded(file);
}

}  // namespace
}  // namespace Jet
