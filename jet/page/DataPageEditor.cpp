#include "jet/page/DataPageEditor.h"

#include <cstring>

#include "jet/page/PageFormatWriter.h"

namespace Jet {
namespace {
constexpr size_t kMaxSlots = 0x1000;
}  // namespace

DataPageEditor::DataPageEditor(const FormatLayout& layout, std::vector<uint8_t> header)
    : layout_(&layout), header_(std::move(header)) {}

DataPageEditor::DataPageEditor(const Page& page, const FormatLayout& layout) : layout_(&layout) {
  const DataPage source(page, layout);
  const ByteSpan bytes = page.Bytes();
  header_.assign(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(layout.dataPageRowCount));
  const size_t rowAreaStart = SlotEntryAt(layout, source.RowCount());
  rows_.reserve(source.RowCount() + 1);  // room for one added row without moving them all
  size_t end = bytes.size();
  for (uint16_t slot = 0; slot < source.RowCount(); ++slot) {
    const uint16_t entry = ReadU16(bytes, SlotEntryAt(layout, slot));
    const size_t start = SlotStart(entry);
    SlotRow row;
    row.flags = SlotFlags(entry);
    if (row.flags & RowFlag::kDeleted) {
      // A deleted row's bytes are kept where they make sense (a moved row's new home is flagged
      // deleted too), dropped where its offsets are out of order.
      if (start >= rowAreaStart && start <= end) row.bytes.assign(bytes.begin() + static_cast<ptrdiff_t>(start),
                                                                 bytes.begin() + static_cast<ptrdiff_t>(end));
    } else {
      const ByteSpan live = source.RowBytes(source.Slot(slot));
      row.bytes.assign(live.begin(), live.end());
    }
    if (start >= rowAreaStart && start <= end) end = start;
    rows_.push_back(std::move(row));
  }
}

DataPageEditor DataPageEditor::Empty(const FormatLayout& layout, uint32_t owner, bool longValues) {
  std::vector<uint8_t> header(layout.dataPageRowCount, 0);
  if (longValues)
    PutLongValuePageStart(header);
  else
    PutDataPageStart(header, owner);
  return DataPageEditor(layout, std::move(header));
}

size_t DataPageEditor::FreeSpace() const {
  size_t used = SlotEntryAt(*layout_, rows_.size());
  for (const SlotRow& row : rows_) used += row.bytes.size();
  return used >= layout_->pageSize ? 0 : layout_->pageSize - used;
}

bool DataPageEditor::IsLongValuePage() const { return HoldsLongValues(header_); }

bool DataPageEditor::AllDeleted() const {
  for (const SlotRow& row : rows_)
    if ((row.flags & RowFlag::kDeleted) == 0) return false;
  return true;
}

void DataPageEditor::SetRow(uint16_t slot, std::vector<uint8_t> bytes, uint16_t flags) {
  if (!Fits(slot, bytes.size())) ThrowCorrupt("a row does not fit its page");
  rows_.at(slot) = SlotRow{std::move(bytes), SlotFlags(flags)};
}

uint16_t DataPageEditor::AddRow(std::vector<uint8_t> bytes, uint16_t flags) {
  if (!FitsNewRow(bytes.size()) || rows_.size() >= kMaxSlots) ThrowCorrupt("a row does not fit its page");
  rows_.push_back(SlotRow{std::move(bytes), SlotFlags(flags)});
  return static_cast<uint16_t>(rows_.size() - 1);
}

std::vector<uint8_t> DataPageEditor::Build() const {
  std::vector<uint8_t> page(layout_->pageSize, 0);
  std::memcpy(page.data(), header_.data(), header_.size());
  PutU16(page, layout_->dataPageRowCount, static_cast<uint16_t>(rows_.size()));
  size_t end = page.size();
  for (size_t slot = 0; slot < rows_.size(); ++slot) {
    const SlotRow& row = rows_[slot];
    const size_t start = end - row.bytes.size();
    if (!row.bytes.empty()) std::memcpy(page.data() + start, row.bytes.data(), row.bytes.size());
    PutU16(page, SlotEntryAt(*layout_, slot), SlotEntry(start, row.flags));
    end = start;
  }
  PutU16(page, kFreeSpaceAt, static_cast<uint16_t>(FreeSpace()));
  return page;
}

}  // namespace Jet
