#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "jet/file/FormatLayout.h"

// Builds pages and rows byte by byte for the decoder tests.
namespace Jet::Testing {

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& bytes, size_t at, uint16_t value) {
  bytes.at(at) = static_cast<uint8_t>(value);
  bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

inline void PutU32(Bytes& bytes, size_t at, uint32_t value) {
  for (size_t n = 0; n < 4; ++n) bytes.at(at + n) = static_cast<uint8_t>(value >> (8 * n));
}

inline void AppendU16(Bytes& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendU32(Bytes& bytes, uint32_t value) {
  for (size_t n = 0; n < 4; ++n) bytes.push_back(static_cast<uint8_t>(value >> (8 * n)));
}

inline Bytes Ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A row slot as written into the offset table: the row's bytes and its flags.
struct SlotContent {
  Bytes row;
  uint16_t flags = 0;  // 0x8000 deleted, 0x4000 moved
};

// A data page (Jet4 layout unless the layout says otherwise) whose rows are placed from the end
// of the page downwards, slot 0 last.
inline Bytes DataPageBytes(const FormatLayout& layout, uint32_t owner,
                           const std::vector<SlotContent>& slots) {
  Bytes page(layout.pageSize, 0);
  page[0] = 0x01;
  page[1] = 0x01;
  PutU32(page, 4, owner);
  PutU16(page, layout.dataPageRowCount, static_cast<uint16_t>(slots.size()));
  size_t end = page.size();
  for (size_t n = 0; n < slots.size(); ++n) {
    const Bytes& row = slots[n].row;
    const size_t start = end - row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<ptrdiff_t>(start));
    PutU16(page, layout.dataPageRowTable + 2 * n, static_cast<uint16_t>(start | slots[n].flags));
    end = start;
  }
  return page;
}

// A 4-byte row pointer: slot, then a three-byte page.
inline Bytes RowPointerBytes(uint32_t page, uint8_t slot) {
  return Bytes{slot, static_cast<uint8_t>(page), static_cast<uint8_t>(page >> 8),
               static_cast<uint8_t>(page >> 16)};
}

// A file image made of whole pages.
inline Bytes FileOf(std::initializer_list<Bytes> pages) { return Concat(pages); }

}  // namespace Jet::Testing
