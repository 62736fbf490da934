#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/page/DataPage.h"

// An editable copy of a data page (or a long-value or usage-map row page): the rows of its slots
// with their flags, built back into page bytes with the rows packed from the end of the page in
// slot order (see PageFormat.h), so a row that grows or shrinks moves the rows after it.
namespace Jet {

class DataPageEditor {
 public:
  // Copies the rows of a page; throws kCorrupt as DataPage does.
  DataPageEditor(const Page& page, const FormatLayout& layout);
  // An empty page of type 0x01 owned by the table whose definition starts at `owner`, or a
  // long-value page when `longValues`.
  static DataPageEditor Empty(const FormatLayout& layout, uint32_t owner, bool longValues);

  uint16_t SlotCount() const { return static_cast<uint16_t>(rows_.size()); }
  const std::vector<uint8_t>& Row(uint16_t slot) const { return rows_.at(slot).bytes; }
  uint16_t Flags(uint16_t slot) const { return rows_.at(slot).flags; }
  // Bytes left for rows and their slot entries.
  size_t FreeSpace() const;
  // Whether slot's row may become `size` bytes long.
  bool Fits(uint16_t slot, size_t size) const { return FreeSpace() + Row(slot).size() >= size; }
  bool FitsNewRow(size_t size) const { return FreeSpace() >= size + 2; }
  bool IsLongValuePage() const;
  // Whether every slot is deleted.
  bool AllDeleted() const;

  void SetRow(uint16_t slot, std::vector<uint8_t> bytes, uint16_t flags);
  // Adds a slot; returns its number. The caller checks FitsNewRow first.
  uint16_t AddRow(std::vector<uint8_t> bytes, uint16_t flags);

  std::vector<uint8_t> Build() const;

 private:
  DataPageEditor(const FormatLayout& layout, std::vector<uint8_t> header);

  struct SlotRow {
    std::vector<uint8_t> bytes;
    uint16_t flags = 0;
  };
  const FormatLayout* layout_;
  std::vector<uint8_t> header_;  // the bytes before the row count
  std::vector<SlotRow> rows_;
};

}  // namespace Jet
