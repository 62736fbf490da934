#include "jet/longvalue/LongValueStore.h"

#include <set>

#include "jet/page/DataPageEditor.h"
#include "jet/row/RowEncoder.h"

namespace Jet {
namespace {
constexpr uint32_t kLengthMask = 0x3FFFFFFF;
constexpr uint32_t kInRow = 0x80000000;
constexpr uint32_t kOneRow = 0x40000000;
constexpr size_t kPointerSize = 4;

void AppendPointer(std::vector<uint8_t>& out, RowPointer where) {
  out.push_back(static_cast<uint8_t>(where.slot));
  for (int n = 0; n < 3; ++n) out.push_back(static_cast<uint8_t>(where.page >> (8 * n)));
}
}  // namespace

RowPointer LongValueStore::AddRow(std::vector<uint8_t> row, const ColumnUsageMaps* columnMaps) {
  if (current_) {
    const Page page = writer_.Pages().Read(*current_);
    DataPageEditor editor(page, layout_);
    if (editor.IsLongValuePage() && editor.FitsNewRow(row.size())) {
      const uint16_t slot = editor.AddRow(std::move(row), 0);
      writer_.Write(*current_, editor.Build());
      return RowPointer{*current_, slot};
    }
  }
  DataPageEditor editor = DataPageEditor::Empty(layout_, 0, true);
  const uint16_t slot = editor.AddRow(std::move(row), 0);
  const uint32_t number = maps_.Allocate(editor.Build());
  if (columnMaps != nullptr) {
    maps_.Add(columnMaps->ownedPages, number);
    maps_.Add(columnMaps->freeSpacePages, number);
  }
  current_ = number;
  return RowPointer{number, slot};
}

std::vector<uint8_t> LongValueStore::Place(std::span<const uint8_t> data, const ColumnUsageMaps* columnMaps) {
  if (data.size() > kLengthMask) ThrowNotSupported("A long value of 1 GB or more cannot be stored.", Main::ErrorCause::kRecordStorage);
  const uint32_t length = static_cast<uint32_t>(data.size());
  if (data.size() <= layout_.longValueChunkMax)
    return LongValueReference(length, AddRow(std::vector<uint8_t>(data.begin(), data.end()), columnMaps), true);
  // A chain, written from its last piece to its first so that each row can name the next.
  const size_t piece = layout_.longValueChunkMax - kPointerSize;
  RowPointer next{0, 0};
  size_t end = data.size();
  size_t start = (data.size() - 1) / piece * piece;
  while (true) {
    std::vector<uint8_t> row;
    row.reserve(kPointerSize + end - start);
    AppendPointer(row, next);
    row.insert(row.end(), data.begin() + static_cast<ptrdiff_t>(start), data.begin() + static_cast<ptrdiff_t>(end));
    next = AddRow(std::move(row), columnMaps);
    if (start == 0) break;
    end = start;
    start -= piece;
  }
  return LongValueReference(length, next, false);
}

void LongValueStore::DeleteRow(RowPointer where, const ColumnUsageMaps* columnMaps) {
  DataPageEditor editor(writer_.Pages().Read(where.page), layout_);
  if (where.slot >= editor.SlotCount()) ThrowCorrupt("a long value points past the rows of " + PageText(where.page));
  editor.SetRow(where.slot, {}, RowFlag::kDeleted);
  writer_.Write(where.page, editor.Build());
  if (!editor.AllDeleted()) return;
  // The page holds nothing any more: give it back.
  if (current_ == where.page) current_.reset();
  if (columnMaps != nullptr) {
    maps_.Remove(columnMaps->freeSpacePages, where.page);
    maps_.Remove(columnMaps->ownedPages, where.page);
  }
  maps_.MarkFree(where.page);
}

void LongValueStore::Free(ByteSpan stored, const ColumnUsageMaps* columnMaps) {
  const uint32_t word = ReadU32(stored, 0);
  if (word & kInRow) return;
  RowPointer where = ReadRowPointer(stored, 4);
  if (word & kOneRow) return DeleteRow(where, columnMaps);
  // Collect the chain first: deleting a row must not lose the way to the next one.
  std::vector<RowPointer> chain;
  std::set<std::pair<uint32_t, uint16_t>> seen;
  size_t remaining = word & kLengthMask;
  while (remaining > 0 && where.page != 0) {
    if (!seen.insert({where.page, where.slot}).second) ThrowCorrupt("a long value's chain loops back to " + PageText(where.page));
    const DataPage page(writer_.Pages().Read(where.page), layout_);
    const RowSlot slot = page.Slot(where.slot);
    if (slot.deleted) break;
    const ByteSpan row = page.RowBytes(slot);
    if (row.size() < kPointerSize) ThrowCorrupt("a row of a long value's chain is too short");
    chain.push_back(where);
    remaining -= std::min(remaining, row.size() - kPointerSize);
    where = ReadRowPointer(row, 0);
  }
  for (const RowPointer row : chain) DeleteRow(row, columnMaps);
}

}  // namespace Jet
