// A row changed where it lies on its data page, against the page editor's rebuild of the same
// page: the same size, shrinking and growing, in the first, a middle and the last slot, beside
// deleted and moved rows, in the Jet3 layout (2 KB pages, slot table at 10) and the Jet4/ACE one
// (4 KB, at 14); pages the shift cannot take (offsets out of order, too little room) are left to
// the rebuild.
#include <gtest/gtest.h>

#include <string>

#include "jet/base/ByteReader.h"
#include "jet/base/ByteWriter.h"
#include "jet/page/DataPage.h"
#include "jet/page/DataPageEditor.h"
#include "jet/page/RowInPlaceEdit.h"
#include "jet/JetError.h"

namespace Jet {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kOwner = 0x0A0B0C;
constexpr uint32_t kPageNumber = 9;

Bytes Filled(size_t size, uint8_t first) {
  Bytes bytes(size);
  for (size_t n = 0; n < size; ++n) bytes[n] = static_cast<uint8_t>(first + n * 7);
  return bytes;
}

// Live rows around a moved row's pointer, a deleted row with bytes, a moved row's new home
// (deleted flag alone) and a deleted slot without bytes, as the writer leaves pages.
Bytes MixedPage(const FormatLayout& layout) {
  DataPageEditor editor = DataPageEditor::Empty(layout, kOwner, false);
  editor.AddRow(Filled(40, 1), 0);
  editor.AddRow({0x03, 0x56, 0x34, 0x12}, RowFlag::kMoved);
  editor.AddRow(Filled(25, 2), RowFlag::kDeleted);
  editor.AddRow(Filled(60, 3), 0);
  editor.AddRow(Filled(33, 4), RowFlag::kDeleted);
  editor.AddRow({}, RowFlag::kDeleted);
  editor.AddRow(Filled(51, 5), 0);
  return editor.Build();
}

// What the page editor makes of the change.
Bytes Rebuilt(const Bytes& page, const FormatLayout& layout, uint16_t slot, const Bytes& row, uint16_t flags) {
  DataPageEditor editor(Page(kPageNumber, page), layout);
  editor.SetRow(slot, row, flags);
  return editor.Build();
}

// What the in-place edit makes of it; fails the test when the page is refused.
Bytes InPlace(Bytes page, const FormatLayout& layout, uint16_t slot, const Bytes& row) {
  const std::optional<RowInPlaceEdit> edit = RowInPlaceEdit::Plan(page, layout, slot, row.size());
  EXPECT_TRUE(edit && edit->Fits()) << "slot " << slot << ", " << row.size() << " bytes";
  if (edit && edit->Fits()) edit->Apply(page, row);
  return page;
}

struct SlotView {
  Bytes bytes;
  bool deleted;
  bool moved;
  bool operator==(const SlotView&) const = default;
};

// Every slot's row and flags as the page reader sees them.
std::vector<SlotView> Rows(const Bytes& bytes, const FormatLayout& layout) {
  const DataPage page(Page(kPageNumber, bytes), layout);
  std::vector<SlotView> rows;
  for (uint16_t slot = 0; slot < page.RowCount(); ++slot) {
    const RowSlot entry = page.Slot(slot);
    const ByteSpan row = page.RowBytes(entry);
    rows.push_back(SlotView{Bytes(row.begin(), row.end()), entry.deleted, entry.moved});
  }
  return rows;
}

uint16_t FlagsOf(const Bytes& page, const FormatLayout& layout, uint16_t slot) {
  return SlotFlags(ReadU16(page, SlotEntryAt(layout, slot)));
}

class RowInPlaceEditTest : public testing::TestWithParam<FileFormat> {
 protected:
  const FormatLayout& layout_ = LayoutOf(GetParam());
};

// Every slot, each new size from empty to twice as long: the page equals the rebuilt one byte for
// byte (the editor packs rows in slot order and zeroes the rest, as the shift leaves them).
TEST_P(RowInPlaceEditTest, EveryResizeOfEverySlotMatchesTheRebuild) {
  const Bytes page = MixedPage(layout_);
  const uint16_t count = ReadU16(page, layout_.dataPageRowCount);
  size_t changes = 0;
  for (uint16_t slot = 0; slot < count; ++slot) {
    const size_t oldSize = Rows(page, layout_)[slot].bytes.size();
    for (const size_t size : {size_t{0}, oldSize / 2, oldSize, oldSize + 1, oldSize * 2 + 3}) {
      const Bytes row = Filled(size, static_cast<uint8_t>(0x80 + slot));
      const Bytes expected = Rebuilt(page, layout_, slot, row, FlagsOf(page, layout_, slot));
      const Bytes actual = InPlace(page, layout_, slot, row);
      EXPECT_EQ(actual, expected) << "slot " << slot << " from " << oldSize << " to " << size << " bytes";
      EXPECT_EQ(Rows(actual, layout_)[slot].bytes, row);
      ++changes;
    }
  }
  EXPECT_EQ(changes, 5u * count);
}

TEST_P(RowInPlaceEditTest, SameSizeTouchesOnlyTheRow) {
  const Bytes page = MixedPage(layout_);
  const Bytes row = Filled(60, 0xE0);
  const Bytes actual = InPlace(page, layout_, 3, row);
  size_t differing = 0;
  for (size_t n = 0; n < page.size(); ++n) differing += page[n] != actual[n];
  EXPECT_GT(differing, 0u);
  EXPECT_LE(differing, row.size());
  std::vector<SlotView> before = Rows(page, layout_);
  before[3].bytes = row;
  EXPECT_EQ(Rows(actual, layout_), before);
}

TEST_P(RowInPlaceEditTest, ShrinkAndGrowShiftTheRowsBelowWithTheirFlags) {
  const Bytes page = MixedPage(layout_);
  for (const size_t size : {size_t{10}, size_t{90}}) {
    const Bytes row = Filled(size, 0x41);
    const Bytes actual = InPlace(page, layout_, 1, row);
    std::vector<SlotView> expected = Rows(page, layout_);
    expected[1].bytes = row;
    EXPECT_EQ(Rows(actual, layout_), expected) << size;
    // The free-space count follows the change.
    EXPECT_EQ(ReadU16(actual, kFreeSpaceAt) + size, ReadU16(page, kFreeSpaceAt) + 4u) << size;
  }
}

TEST_P(RowInPlaceEditTest, GivenFlagsReplaceTheSlots) {
  const Bytes page = MixedPage(layout_);
  Bytes edited = page;
  const Bytes pointer{0x01, 0x02, 0x03, 0x00};
  RowInPlaceEdit::Plan(edited, layout_, 0, pointer.size())->Apply(edited, pointer, RowFlag::kMoved);
  EXPECT_EQ(edited, Rebuilt(page, layout_, 0, pointer, RowFlag::kMoved));
  EXPECT_TRUE(Rows(edited, layout_)[0].moved);
}

// A row may grow into all of the page's free space, not a byte more; the rebuild agrees, so such
// a row moves.
TEST_P(RowInPlaceEditTest, GrowthBeyondTheFreeSpaceIsLeftToTheRebuild) {
  const Bytes page = MixedPage(layout_);
  const size_t free = ReadU16(page, kFreeSpaceAt);
  const size_t oldSize = Rows(page, layout_)[6].bytes.size();
  EXPECT_TRUE(RowInPlaceEdit::Plan(page, layout_, 6, oldSize + free)->Fits());
  const std::optional<RowInPlaceEdit> tooLong = RowInPlaceEdit::Plan(page, layout_, 6, oldSize + free + 1);
  ASSERT_TRUE(tooLong.has_value());
  EXPECT_FALSE(tooLong->Fits());
  EXPECT_FALSE(DataPageEditor(Page(kPageNumber, page), layout_).Fits(6, oldSize + free + 1));
  Bytes untouched = page;
  EXPECT_THROW(tooLong->Apply(untouched, Filled(oldSize + free + 1, 1)), JetError);
  EXPECT_EQ(untouched, page);
  const Bytes full = InPlace(page, layout_, 6, Filled(oldSize + free, 1));
  EXPECT_EQ(ReadU16(full, kFreeSpaceAt), 0);
}

// Offsets that do not run down the page in slot order: the shift would move the wrong bytes, so
// the page is left to the rebuild, whose rows are the page's with the change.
TEST_P(RowInPlaceEditTest, OffsetsOutOfOrderAreLeftToTheRebuild) {
  Bytes page = MixedPage(layout_);
  const std::vector<SlotView> before = Rows(page, layout_);
  // The deleted slot 2 pointed past the row before it (the editor drops such a deleted row's bytes).
  const size_t entry = SlotEntryAt(layout_, 2);
  PutU16(page, entry, SlotEntry(layout_.pageSize - 1, RowFlag::kDeleted));
  for (uint16_t slot = 0; slot < 7; ++slot) EXPECT_FALSE(RowInPlaceEdit::Plan(page, layout_, slot, 10).has_value()) << slot;
  const Bytes row = Filled(70, 0x33);
  const Bytes rebuilt = Rebuilt(page, layout_, 3, row, 0);
  std::vector<SlotView> expected = before;
  expected[2].bytes.clear();
  expected[3].bytes = row;
  EXPECT_EQ(Rows(rebuilt, layout_), expected);
}

// The rebuild takes back the bytes of a deleted row whose offset is out of order: a row that
// grows by more than the page's contiguous free space still fits there.
TEST_P(RowInPlaceEditTest, GrowthThatNeedsTheRebuildFitsThere) {
  DataPageEditor editor = DataPageEditor::Empty(layout_, kOwner, false);
  editor.AddRow(Filled(30, 1), 0);
  editor.AddRow(Filled(layout_.pageSize - 200, 2), RowFlag::kDeleted);
  editor.AddRow(Filled(30, 3), 0);
  Bytes page = editor.Build();
  PutU16(page, SlotEntryAt(layout_, 1), SlotEntry(layout_.pageSize - 10, RowFlag::kDeleted));
  const Bytes row = Filled(400, 9);
  EXPECT_FALSE(RowInPlaceEdit::Plan(page, layout_, 2, row.size()).has_value());
  DataPageEditor rebuild(Page(kPageNumber, page), layout_);
  ASSERT_TRUE(rebuild.Fits(2, row.size()));
  rebuild.SetRow(2, row, 0);
  const std::vector<SlotView> rows = Rows(rebuild.Build(), layout_);
  EXPECT_EQ(rows[0].bytes, Filled(30, 1));
  EXPECT_TRUE(rows[1].bytes.empty());
  EXPECT_EQ(rows[2].bytes, row);
}

TEST_P(RowInPlaceEditTest, PagesItCannotReadAreRefused) {
  const Bytes page = MixedPage(layout_);
  EXPECT_FALSE(RowInPlaceEdit::Plan(page, layout_, 7, 4).has_value());  // no such slot
  Bytes wrongType = page;
  wrongType[0] = 0x02;
  EXPECT_FALSE(RowInPlaceEdit::Plan(wrongType, layout_, 0, 4).has_value());
  Bytes tooManySlots = page;
  PutU16(tooManySlots, layout_.dataPageRowCount, 0xFFFF);
  EXPECT_FALSE(RowInPlaceEdit::Plan(tooManySlots, layout_, 0, 4).has_value());
  Bytes intoSlotTable = page;
  PutU16(intoSlotTable, SlotEntryAt(layout_, 6), SlotEntry(SlotEntryAt(layout_, 3), 0));
  EXPECT_FALSE(RowInPlaceEdit::Plan(intoSlotTable, layout_, 0, 4).has_value());
  EXPECT_FALSE(RowInPlaceEdit::Plan(Bytes(page.begin(), page.end() - 1), layout_, 0, 4).has_value());
}

// An edit planned on one state of the page and applied to another is refused, the page untouched.
TEST_P(RowInPlaceEditTest, AnEditAppliedToAChangedPageIsRefused) {
  const Bytes page = MixedPage(layout_);
  const std::optional<RowInPlaceEdit> edit = RowInPlaceEdit::Plan(page, layout_, 3, 20);
  ASSERT_TRUE(edit.has_value());
  Bytes changed = InPlace(page, layout_, 1, Filled(8, 1));
  const Bytes before = changed;
  EXPECT_THROW(edit->Apply(changed, Filled(20, 1)), JetError);
  EXPECT_EQ(changed, before);
  Bytes same = page;
  EXPECT_THROW(edit->Apply(same, Filled(21, 1)), JetError);  // not the planned size
}

INSTANTIATE_TEST_SUITE_P(Formats, RowInPlaceEditTest, testing::Values(FileFormat::Jet3, FileFormat::Jet4),
                         [](const auto& info) { return info.param == FileFormat::Jet3 ? "Jet3" : "Jet4"; });

}  // namespace
}  // namespace Jet
