#include "jet/page/DataPageEditor.h"

#include <cstring>

namespace Jet {
namespace {
constexpr uint16_t kOffsetMask = 0x1FFF;
constexpr uint16_t kFlagMask = RowFlag::kDeleted | RowFlag::kMoved;
constexpr size_t kFreeSpaceOffset = 2;
constexpr size_t kOwnerOffset = 4;
constexpr size_t kMaxSlots = 0x1000;
}  // namespace

DataPageEditor::DataPageEditor(const FormatLayout& layout, std::vector<uint8_t> header)
    : layout_(&layout), header_(std::move(header)) {}

DataPageEditor::DataPageEditor(const Page& page, const FormatLayout& layout) : layout_(&layout) {
  const DataPage source(page, layout);
  const ByteSpan bytes = page.Bytes();
  header_.assign(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(layout.dataPageRowCount));
  const size_t rowAreaStart = layout.dataPageRowTable + 2 * size_t{source.RowCount()};
  rows_.reserve(source.RowCount() + 1);  // room for one added row without moving them all
  size_t end = bytes.size();
  for (uint16_t slot = 0; slot < source.RowCount(); ++slot) {
    const uint16_t entry = ReadU16(bytes, layout.dataPageRowTable + 2 * size_t{slot});
    const size_t start = entry & kOffsetMask;
    SlotRow row;
    row.flags = entry & kFlagMask;
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
  header[0] = kDataPageType;
  header[1] = 0x01;
  if (longValues)
    std::memcpy(header.data() + kOwnerOffset, "LVAL", 4);
  else
    for (size_t n = 0; n < 4; ++n) header[kOwnerOffset + n] = static_cast<uint8_t>(owner >> (8 * n));
  return DataPageEditor(layout, std::move(header));
}

size_t DataPageEditor::FreeSpace() const {
  size_t used = layout_->dataPageRowTable + 2 * rows_.size();
  for (const SlotRow& row : rows_) used += row.bytes.size();
  return used >= layout_->pageSize ? 0 : layout_->pageSize - used;
}

bool DataPageEditor::IsLongValuePage() const {
  return std::memcmp(header_.data() + kOwnerOffset, "LVAL", 4) == 0;
}

bool DataPageEditor::AllDeleted() const {
  for (const SlotRow& row : rows_)
    if ((row.flags & RowFlag::kDeleted) == 0) return false;
  return true;
}

void DataPageEditor::SetRow(uint16_t slot, std::vector<uint8_t> bytes, uint16_t flags) {
  if (!Fits(slot, bytes.size())) ThrowCorrupt("a row does not fit its page");
  rows_.at(slot) = SlotRow{std::move(bytes), static_cast<uint16_t>(flags & kFlagMask)};
}

uint16_t DataPageEditor::AddRow(std::vector<uint8_t> bytes, uint16_t flags) {
  if (!FitsNewRow(bytes.size()) || rows_.size() >= kMaxSlots) ThrowCorrupt("a row does not fit its page");
  rows_.push_back(SlotRow{std::move(bytes), static_cast<uint16_t>(flags & kFlagMask)});
  return static_cast<uint16_t>(rows_.size() - 1);
}

std::vector<uint8_t> DataPageEditor::Build() const {
  std::vector<uint8_t> page(layout_->pageSize, 0);
  std::memcpy(page.data(), header_.data(), header_.size());
  const auto put16 = [&page](size_t at, size_t value) {
    page[at] = static_cast<uint8_t>(value);
    page[at + 1] = static_cast<uint8_t>(value >> 8);
  };
  put16(layout_->dataPageRowCount, rows_.size());
  size_t end = page.size();
  for (size_t slot = 0; slot < rows_.size(); ++slot) {
    const SlotRow& row = rows_[slot];
    const size_t start = end - row.bytes.size();
    if (!row.bytes.empty()) std::memcpy(page.data() + start, row.bytes.data(), row.bytes.size());
    put16(layout_->dataPageRowTable + 2 * slot, start | row.flags);
    end = start;
  }
  put16(kFreeSpaceOffset, FreeSpace());
  return page;
}

}  // namespace Jet
