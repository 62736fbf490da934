#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/base/ByteWriter.h"
#include "jet/page/DataPage.h"

// The bytes of a usage map, shared by its reader (UsageMap.h), its editor (UsageMapEditor.h) and
// the creator's writer (UsageMapWriter.h).
//
// A table definition names each of its usage maps by a 4-byte row pointer (slot, page) to a row
// of a page laid out like a data page. That row is the map:
//
//   offset  size  inline map (type 0x00)           indirect map (type 0x01)
//   0       1     0x00                              0x01
//   1       4     the page that bit 0 stands for    entry 0: a usage map page (0: none)
//   5       ..    bitmap: bit n set means page      entries 1, 2, ...: 4 bytes each; entry k
//                 first + n belongs to the map      covers pages k * B to (k + 1) * B - 1
//
// Bits are counted from the least significant bit of each byte. Usage map page (type 0x05):
//
//   offset  size
//   0       1     0x05
//   1       1     0x01
//   2       2     unknown (0)
//   4       ..    bitmap as above, bit n standing for page k * B + n
//
// B, the pages one map page covers, is (page size - 4) * 8: 16,352 for Jet3 (2 KB pages), 32,736
// for Jet4 and ACE (4 KB pages). The layout is otherwise the same in every format. Access makes
// every map row 69 bytes long: an inline map then covers 512 pages, an indirect map 17 map pages.
// The global map (slot 0 of page 1) lists the FREE pages; every other map lists pages in use.
namespace Jet {

constexpr uint8_t kInlineMap = 0x00;
constexpr uint8_t kIndirectMap = 0x01;
constexpr size_t kMapTypeAt = 0;
constexpr size_t kInlineFirstPageAt = 1;
constexpr size_t kInlineBitmapAt = 5;
constexpr size_t kMapPageBitmapAt = 4;
// The size of a map row as Access makes it.
constexpr size_t kUsageMapRowSize = 69;

// How many pages an inline map row of `rowSize` bytes covers.
constexpr size_t InlineMapPages(size_t rowSize) { return (rowSize - kInlineBitmapAt) * 8; }
// How many map page entries an indirect map row of `rowSize` bytes has.
constexpr size_t IndirectMapEntries(size_t rowSize) { return (rowSize - 1) / 4; }
// Where entry `entry` of an indirect map row is.
constexpr size_t IndirectEntryAt(size_t entry) { return 1 + 4 * entry; }
// How many pages one usage map page covers (B above).
constexpr uint32_t PagesPerMapPage(uint32_t pageSize) { return (pageSize - kMapPageBitmapAt) * 8; }

inline bool MapBit(ByteSpan bitmap, size_t bit) { return (bitmap[bit / 8] >> (bit % 8)) & 1; }

inline void SetMapBit(std::span<uint8_t> bitmap, size_t bit, bool on) {
  uint8_t& byte = bitmap[bit / 8];
  const uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
  byte = on ? static_cast<uint8_t>(byte | mask) : static_cast<uint8_t>(byte & ~mask);
}

// Turns a zeroed page into an empty usage map page.
inline void StartMapPage(std::span<uint8_t> page) {
  page[0] = kUsageMapPageType;
  page[1] = 0x01;
}

inline std::vector<uint8_t> EmptyMapPage(uint32_t pageSize) {
  std::vector<uint8_t> page(pageSize, 0);
  StartMapPage(page);
  return page;
}

}  // namespace Jet
