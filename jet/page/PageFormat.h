#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "jet/base/ByteReader.h"
#include "jet/file/FormatLayout.h"

// The bytes of a data page, written down once for its reader (DataPage), its editor
// (DataPageEditor), the creator's row pages (RowPage) and the tests' page builder; the writes
// are in PageFormatWriter.h. Long-value pages and the pages that hold usage map rows are laid out
// the same way.
//
//   Jet4/ACE  Jet3  size
//    0         0    1    page type 0x01
//    1         1    1    0x01
//    2         2    2    free space: the bytes not taken by the header, the rows and their slots
//    4         4    4    page of the owning table definition; the bytes "LVAL" on long-value pages
//    8         -    4    unknown, written as zero
//   12         8    2    number of slots (FormatLayout::dataPageRowCount)
//   14        10    2n   slot table, one 2-byte entry a slot (FormatLayout::dataPageRowTable)
//
// A slot entry holds the row's start in the page in bits 0-12 and two flags: 0x8000 deleted, and
// 0x4000 moved (Access's overflow or lookup flag): the row holds a row pointer to where the row
// now lives, a slot that itself carries the deleted flag alone. Rows grow from the end of the page
// downwards: slot 0 ends at the end of the page and each later slot ends where the one before it
// starts. A row pointer is 4 bytes: the slot in one byte, then the page in three.
namespace Jet {

constexpr uint8_t kDataPageType = 0x01;
constexpr uint8_t kTableDefinitionPageType = 0x02;
constexpr uint8_t kUsageMapPageType = 0x05;

constexpr size_t kDataPageMarkAt = 1;  // the 0x01 after the page type
constexpr uint8_t kDataPageMark = 0x01;
constexpr size_t kFreeSpaceAt = 2;
constexpr size_t kOwnerAt = 4;
constexpr char kLongValueMark[4] = {'L', 'V', 'A', 'L'};  // in place of the owner

constexpr size_t kSlotEntrySize = 2;
constexpr uint16_t kSlotStartMask = 0x1FFF;

// The flags of a slot entry.
namespace RowFlag {
constexpr uint16_t kDeleted = 0x8000;
constexpr uint16_t kMoved = 0x4000;  // the row holds a pointer to where the row now lives
constexpr uint16_t kAll = kDeleted | kMoved;
}  // namespace RowFlag

constexpr size_t kRowPointerSize = 4;

// The row a pointer names: a page and a slot of its slot table.
struct RowPointer {
  uint32_t page = 0;
  uint16_t slot = 0;
};

// Where slot `slot`'s entry is; the entry of slot `count` is where the row area may begin.
inline size_t SlotEntryAt(const FormatLayout& layout, size_t slot) {
  return layout.dataPageRowTable + kSlotEntrySize * slot;
}

inline uint16_t SlotEntry(size_t start, uint16_t flags) {
  return static_cast<uint16_t>(start | (flags & RowFlag::kAll));
}
inline uint16_t SlotStart(uint16_t entry) { return entry & kSlotStartMask; }
inline uint16_t SlotFlags(uint16_t entry) { return entry & RowFlag::kAll; }

inline uint32_t OwnerOf(ByteSpan page) { return ReadU32(page, kOwnerAt); }

inline bool HoldsLongValues(ByteSpan page) {
  return std::memcmp(Slice(page, kOwnerAt, sizeof kLongValueMark).data(), kLongValueMark, sizeof kLongValueMark) == 0;
}

inline RowPointer ReadRowPointer(ByteSpan bytes, size_t at) {
  return RowPointer{ReadU24(bytes, at + 1), ReadU8(bytes, at)};
}

}  // namespace Jet
