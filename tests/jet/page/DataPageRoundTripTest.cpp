// Data pages written by the page editor and by the creator's row pages, read back by the page
// reader, in the Jet3 layout (2 KB pages, slot table at 10) and the Jet4/ACE one (4 KB, at 14).
#include <gtest/gtest.h>

#include <string>

#include "jet/base/ByteReader.h"
#include "jet/page/DataPage.h"
#include "jet/page/DataPageEditor.h"
#include "jet/page/RowPage.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kOwner = 0x0A0B0C;
constexpr uint32_t kPageNumber = 7;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes RowOf(const DataPage& page, uint16_t slot) {
  const ByteSpan bytes = page.RowBytes(page.Slot(slot));
  return Bytes(bytes.begin(), bytes.end());
}

// A page with a live row, a moved row pointing to slot 3 of page 0x123456, a deleted row whose
// bytes stay, the moved row's new home (deleted flag alone, holding the row) and a deleted slot
// without bytes.
DataPageEditor SamplePage(const FormatLayout& layout) {
  DataPageEditor editor = DataPageEditor::Empty(layout, kOwner, false);
  EXPECT_EQ(editor.AddRow(Text("first row"), 0), 0);
  EXPECT_EQ(editor.AddRow({0x03, 0x56, 0x34, 0x12}, RowFlag::kMoved), 1);
  EXPECT_EQ(editor.AddRow(Text("gone"), RowFlag::kDeleted), 2);
  EXPECT_EQ(editor.AddRow(Text("a moved row's new home"), RowFlag::kDeleted), 3);
  EXPECT_EQ(editor.AddRow({}, RowFlag::kDeleted | RowFlag::kMoved), 4);
  return editor;
}

class DataPageRoundTrip : public testing::TestWithParam<FileFormat> {
 protected:
  const FormatLayout& layout_ = LayoutOf(GetParam());
};

TEST_P(DataPageRoundTrip, RowsAndFlagsReadBackAsWritten) {
  const Bytes bytes = SamplePage(layout_).Build();
  ASSERT_EQ(bytes.size(), layout_.pageSize);
  const DataPage page(Page(kPageNumber, bytes), layout_);
  EXPECT_EQ(page.OwnerPage(), kOwner);
  EXPECT_FALSE(page.IsLongValuePage());
  ASSERT_EQ(page.RowCount(), 5);

  const RowSlot live = page.Slot(0);
  EXPECT_FALSE(live.deleted);
  EXPECT_FALSE(live.moved);
  EXPECT_EQ(live.end, layout_.pageSize);  // slot 0 ends at the end of the page
  EXPECT_EQ(RowOf(page, 0), Text("first row"));

  const RowSlot moved = page.Slot(1);
  EXPECT_FALSE(moved.deleted);
  EXPECT_TRUE(moved.moved);
  EXPECT_EQ(moved.end, live.start);  // each slot ends where the one before it starts
  const RowPointer home = ReadRowPointer(page.RowBytes(moved), 0);
  EXPECT_EQ(home.page, 0x123456u);
  EXPECT_EQ(home.slot, 3);

  const RowSlot deleted = page.Slot(2);
  EXPECT_TRUE(deleted.deleted);
  EXPECT_FALSE(deleted.moved);
  EXPECT_EQ(RowOf(page, 2), Text("gone"));

  const RowSlot newHome = page.Slot(3);
  EXPECT_TRUE(newHome.deleted);
  EXPECT_FALSE(newHome.moved);
  EXPECT_EQ(RowOf(page, 3), Text("a moved row's new home"));

  const RowSlot empty = page.Slot(4);
  EXPECT_TRUE(empty.deleted);
  EXPECT_TRUE(empty.moved);
  EXPECT_EQ(empty.start, empty.end);
  EXPECT_THROW(page.Slot(5), JetError);

  // Free space: the page less the header, five slot entries and the rows' bytes.
  const size_t rows = 9 + 4 + 4 + 22;
  EXPECT_EQ(ReadU16(bytes, 2), layout_.pageSize - layout_.dataPageRowTable - 2 * 5 - rows);
}

TEST_P(DataPageRoundTrip, AnEditedPageReadsBackItsChangesAndKeepsTheRest) {
  const Bytes first = SamplePage(layout_).Build();
  DataPageEditor editor(Page(kPageNumber, first), layout_);
  EXPECT_EQ(editor.Build(), first);  // read and rebuilt unchanged, byte for byte

  editor.SetRow(0, Text("the first row, now longer"), 0);
  editor.SetRow(2, {}, RowFlag::kDeleted);
  const Bytes second = editor.Build();
  const DataPage page(Page(kPageNumber, second), layout_);
  ASSERT_EQ(page.RowCount(), 5);
  EXPECT_EQ(RowOf(page, 0), Text("the first row, now longer"));
  EXPECT_EQ(ReadRowPointer(page.RowBytes(page.Slot(1)), 0).page, 0x123456u);
  EXPECT_TRUE(page.Slot(2).deleted);
  EXPECT_EQ(page.Slot(2).start, page.Slot(2).end);
  EXPECT_EQ(RowOf(page, 3), Text("a moved row's new home"));
  EXPECT_EQ(ReadU16(second, 2) + 16, ReadU16(first, 2) + 4);  // 16 bytes more, 4 less
}

TEST_P(DataPageRoundTrip, ALongValuePageSaysSo) {
  DataPageEditor editor = DataPageEditor::Empty(layout_, 0, true);
  EXPECT_TRUE(editor.IsLongValuePage());
  editor.AddRow(Text("a piece of a memo"), 0);
  const Bytes bytes = editor.Build();
  const DataPage page(Page(kPageNumber, bytes), layout_);
  EXPECT_TRUE(page.IsLongValuePage());
  EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 8), "LVAL");
  EXPECT_EQ(RowOf(page, 0), Text("a piece of a memo"));
  EXPECT_FALSE(DataPage(Page(kPageNumber, SamplePage(layout_).Build()), layout_).IsLongValuePage());
}

INSTANTIATE_TEST_SUITE_P(Formats, DataPageRoundTrip, testing::Values(FileFormat::Jet3, FileFormat::Jet4),
                         [](const testing::TestParamInfo<FileFormat>& info) {
                           return info.param == FileFormat::Jet3 ? std::string("Jet3") : std::string("Jet4");
                         });

// The creator places its rows as the editor does: the same rows give the same page.
TEST(CreatorRowPage, MatchesTheEditorAndReadsBack) {
  const FormatLayout& layout = LayoutOf(FileFormat::Jet4);
  Bytes created(layout.pageSize, 0);
  Create::StartDataPage(created, kOwner);
  DataPageEditor edited = DataPageEditor::Empty(layout, kOwner, false);
  for (const std::string text : {"one", "two, a longer row", "3"}) {
    const std::optional<Create::PlacedRow> placed = Create::AddRow(created, text.size());
    ASSERT_TRUE(placed.has_value());
    std::copy(text.begin(), text.end(), placed->bytes.begin());
    EXPECT_EQ(placed->slot, edited.AddRow(Text(text), 0));
  }
  EXPECT_EQ(created, edited.Build());
  const DataPage page(Page(kPageNumber, created), layout);
  ASSERT_EQ(page.RowCount(), 3);
  EXPECT_EQ(RowOf(page, 1), Text("two, a longer row"));
  EXPECT_EQ(Create::FreeSpace(created), edited.FreeSpace());
}

TEST(CreatorRowPage, ALongValuePageMatchesTheEditors) {
  const FormatLayout& layout = LayoutOf(FileFormat::Jet4);
  Bytes created(layout.pageSize, 0);
  Create::StartLongValuePage(created);
  DataPageEditor edited = DataPageEditor::Empty(layout, 0, true);
  const std::optional<Create::PlacedRow> placed = Create::AddRow(created, 5);
  ASSERT_TRUE(placed.has_value());
  std::fill(placed->bytes.begin(), placed->bytes.end(), 'x');
  edited.AddRow(Text("xxxxx"), 0);
  EXPECT_EQ(created, edited.Build());
  EXPECT_TRUE(DataPage(Page(kPageNumber, created), layout).IsLongValuePage());
}

TEST(CreatorRowPage, StopsWhenARowNoLongerFits) {
  const FormatLayout& layout = LayoutOf(FileFormat::Jet4);
  Bytes created(layout.pageSize, 0);
  Create::StartDataPage(created, kOwner);
  const size_t room = layout.pageSize - layout.dataPageRowTable - 2;  // one row and its slot entry
  EXPECT_FALSE(Create::AddRow(created, room + 1).has_value());
  EXPECT_TRUE(Create::AddRow(created, room).has_value());
  EXPECT_EQ(Create::FreeSpace(created), 0);
  EXPECT_FALSE(Create::AddRow(created, 0).has_value());
}

}  // namespace
}  // namespace Jet
