#include "jet/longvalue/LongValueStore.h"

#include <set>

#include "jet/page/DataPageEditor.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/page/PageFormatWriter.h"

namespace Jet {

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
  const uint32_t number = columnMaps != nullptr
                              ? allocator_.AllocateFor(editor.Build(), columnMaps->ownedPages, columnMaps->freeSpacePages)
                              : allocator_.Allocate(editor.Build());
  current_ = number;
  return RowPointer{number, slot};
}

std::vector<uint8_t> LongValueStore::Place(std::span<const uint8_t> data, const ColumnUsageMaps* columnMaps) {
  RequireStorableLongValue(data.size());
  const uint32_t length = static_cast<uint32_t>(data.size());
  if (data.size() <= layout_.longValueChunkMax)
    return LongValueReference(length, AddRow(std::vector<uint8_t>(data.begin(), data.end()), columnMaps), true);
  // A chain, written from its last piece to its first so that each row can name the next.
  const size_t piece = layout_.longValueChunkMax - kLongValueChainPointerSize;
  RowPointer next{0, 0};
  size_t end = data.size();
  size_t start = (data.size() - 1) / piece * piece;
  while (true) {
    std::vector<uint8_t> row;
    row.reserve(kLongValueChainPointerSize + end - start);
    AppendRowPointer(row, next);
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
  if (columnMaps != nullptr)
    allocator_.Release(where.page, columnMaps->ownedPages, columnMaps->freeSpacePages);
  else
    allocator_.Release(where.page);
}

void LongValueStore::Free(ByteSpan stored, const ColumnUsageMaps* columnMaps) {
  const LongValueHeader header = ReadLongValueHeader(stored);
  if (header.form == LongValueForm::kInline) return;
  RowPointer where = header.first;
  if (header.form == LongValueForm::kSingleRow) return DeleteRow(where, columnMaps);
  // Collect the chain first: deleting a row must not lose the way to the next one.
  std::vector<RowPointer> chain;
  std::set<std::pair<uint32_t, uint16_t>> seen;
  size_t remaining = header.length;
  while (remaining > 0 && where.page != 0) {
    if (!seen.insert({where.page, where.slot}).second) ThrowCorrupt("a long value's chain loops back to " + PageText(where.page));
    const DataPage page(writer_.Pages().Read(where.page), layout_);
    const RowSlot slot = page.Slot(where.slot);
    if (slot.deleted) break;
    const ByteSpan row = page.RowBytes(slot);
    if (row.size() < kLongValueChainPointerSize) ThrowCorrupt("a row of a long value's chain is too short");
    chain.push_back(where);
    remaining -= std::min(remaining, row.size() - kLongValueChainPointerSize);
    where = ReadRowPointer(row, 0);
  }
  for (const RowPointer row : chain) DeleteRow(row, columnMaps);
}

}  // namespace Jet
