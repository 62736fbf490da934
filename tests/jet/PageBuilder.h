#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "jet/base/ByteWriter.h"
#include "jet/file/FormatLayout.h"
#include "jet/page/PageFormatWriter.h"

// Builds pages and rows byte by byte for the decoder tests, from the page format alone.
namespace Jet::Testing {

using Bytes = std::vector<uint8_t>;

inline Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A row slot as written into the slot table: the row's bytes and its flags.
struct SlotContent {
  Bytes row;
  uint16_t flags = 0;  // RowFlag::kDeleted, RowFlag::kMoved
};

// A data page (Jet4 layout unless the layout says otherwise) whose rows are placed from the end
// of the page downwards, slot 0 last. The free-space field is left zero.
inline Bytes DataPageBytes(const FormatLayout& layout, uint32_t owner,
                           const std::vector<SlotContent>& slots) {
  Bytes page(layout.pageSize, 0);
  PutDataPageStart(page, owner);
  PutU16(page, layout.dataPageRowCount, static_cast<uint16_t>(slots.size()));
  size_t end = page.size();
  for (size_t n = 0; n < slots.size(); ++n) {
    const Bytes& row = slots[n].row;
    const size_t start = end - row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<ptrdiff_t>(start));
    PutU16(page, SlotEntryAt(layout, n), SlotEntry(start, slots[n].flags));
    end = start;
  }
  return page;
}

// A row pointer's bytes, for tests that name the page and slot apart.
inline Bytes RowPointerBytes(uint32_t page, uint8_t slot) { return Jet::RowPointerBytes(RowPointer{page, slot}); }

// A file image made of whole pages.
inline Bytes FileOf(std::initializer_list<Bytes> pages) { return Concat(pages); }

}  // namespace Jet::Testing
