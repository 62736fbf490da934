#include "jet/row/TableScan.h"

#include <gtest/gtest.h>

#include "tests/jet/TableBuilder.h"

namespace Jet {
namespace {

using namespace Testing;

const FormatLayout& kLayout = LayoutOf(FileFormat::Jet4);
constexpr uint32_t kTablePage = 9;

SlotContent Row(const std::u16string& text, uint16_t flags = 0) {
  return SlotContent{Jet4VariableRow({Utf16(text)}), flags};
}

SlotContent Pointer(uint32_t page, uint8_t slot) { return SlotContent{RowPointerBytes(page, slot), RowFlag::kMoved}; }

// Page 1 holds the owned-pages map (pages 2 and 3); pages 2 and 3 are the table's data pages.
Bytes TableFile(const std::vector<SlotContent>& page2, const std::vector<SlotContent>& page3) {
  Bytes map{0x00};
  AppendU32(map, 0);
  map.push_back(0x0C);
  return FileOf({Bytes(kLayout.pageSize, 0), DataPageBytes(kLayout, 0, {{map}}),
                 DataPageBytes(kLayout, kTablePage, page2), DataPageBytes(kLayout, kTablePage, page3)});
}

struct ScanResult {
  std::vector<std::u16string> texts;
  std::vector<RowId> ids;
};

ScanResult ScanAll(const Bytes& file) {
  const PageFile pages(file, kLayout.pageSize);
  const TextCodec codec;
  const auto table = TableBuilder(kTablePage).Variable(u"t", ColumnType::Text, 0).OwnedPages(1, 0).Build();
  TableScan scan(ScanContext{pages, kLayout, codec}, table);
  ScanResult result;
  std::u16string text;
  while (scan.Next()) {
    EXPECT_TRUE(scan.GetText(0, text));
    result.texts.push_back(text);
    result.ids.push_back(scan.Id());
  }
  return result;
}

TEST(TableScan, SkipsDeletedRowsAndReturnsMovedRowsInTheirOriginalPlace) {
  const Bytes file = TableFile({Row(u"r0"), Pointer(3, 1), Row(u"gone", RowFlag::kDeleted), Row(u"r3")},
                               {Row(u"r4"), Row(u"r1 moved", RowFlag::kDeleted)});
  const ScanResult result = ScanAll(file);
  EXPECT_EQ(result.texts, (std::vector<std::u16string>{u"r0", u"r1 moved", u"r3", u"r4"}));
  EXPECT_EQ(result.ids, (std::vector<RowId>{{2, 0}, {2, 1}, {2, 3}, {3, 0}}));
}

TEST(TableScan, NeverReturnsAMovedRowTwice) {
  // Homes that lack the deleted flag: one ahead of its pointer, one behind it, and two pointers
  // to the same home.
  const Bytes file = TableFile({Row(u"a"), Pointer(3, 1), Pointer(3, 2), Pointer(3, 2)},
                               {Pointer(2, 0), Row(u"b"), Row(u"c")});
  EXPECT_EQ(ScanAll(file).texts, (std::vector<std::u16string>{u"a", u"b", u"c"}));
}

TEST(TableScan, PointerLoopsAndForeignPagesAreCorrupt) {
  const std::vector<Bytes> files = {
      TableFile({Pointer(2, 1), Pointer(2, 0)}, {}),   // two pointers pointing at each other
      TableFile({Pointer(1, 0)}, {}),                  // into a page of another owner
      TableFile({Pointer(40, 0)}, {}),                 // past the end of the file
      TableFile({Pointer(3, 5)}, {Row(u"x")}),         // to a slot that does not exist
  };
  for (const Bytes& file : files) {
    try {
      ScanAll(file);
      ADD_FAILURE() << "no error";
    } catch (const JetError& error) {
      EXPECT_EQ(error.Number(), JetErrorNumber::kCorrupt);
    }
  }
}

TEST(TableScan, CursorWithoutARowSaysSo) {
  const Bytes file = TableFile({Row(u"only")}, {});
  const PageFile pages(file, kLayout.pageSize);
  const TextCodec codec;
  const auto table = TableBuilder(kTablePage).Variable(u"t", ColumnType::Text, 0).OwnedPages(1, 0).Build();
  TableScan scan(ScanContext{pages, kLayout, codec}, table);
  EXPECT_THROW(scan.Get(0), JetError);
  ASSERT_TRUE(scan.Next());
  EXPECT_EQ(scan.Get(0), Main::Value::Text(u"only"));
  try {
    scan.Get(1);
    ADD_FAILURE() << "no error";
  } catch (const JetError& error) {
    EXPECT_EQ(error.Number(), JetErrorNumber::kNoSuchColumn);
  }
  EXPECT_FALSE(scan.Next());
  EXPECT_FALSE(scan.Next());
  EXPECT_THROW(scan.Id(), JetError);
}

}  // namespace
}  // namespace Jet
