#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/file/FormatLayout.h"

// The bytes of an index page, written down once for the index reader, the index writer, the
// checker and the creator. Header fields are little-endian; everything inside an entry is
// big-endian.
//
//   Jet4/ACE  Jet3  size
//    0         0    1    page type: 0x03 node (intermediate), 0x04 leaf
//    1         1    1    0x01
//    2         2    2    free space: page size minus the end of the entry data
//    4         4    4    page of the owning table definition
//    8         -    4    zero
//   12         8    4    previous page on the same level (0: none)
//   16        12    4    next page on the same level (0: none)
//   20        16    4    tail: a node page's last child, which has no entry of its own (0 on leaves)
//   24        20    2/1  length of the prefix every entry after the first omits (Jet3: one byte)
//   26        21    1    0x01 on node pages, 0x00 on leaves
//   27        22  453/226 entry-end mask: bit k (low bit first in each byte) set where an entry
//                        ends at data offset k; the last set bit marks the end of the data
//  480       248         entry data
//
// A leaf entry is the key, then the row it indexes: data page (3 bytes) and slot (1 byte). A node
// entry adds its child page (4 bytes) and is a copy of that child's last entry. The first entry of
// a page is stored whole; each later one omits the first `prefix` bytes, which equal the first
// entry's. Bytes after the entry data are not always zero in files Access wrote; they are never
// read. Entries sort by key bytes (unsigned, a proper prefix first), then row page, then slot.
namespace Jet {

constexpr uint8_t kIndexNodePageType = 0x03;
constexpr uint8_t kIndexLeafPageType = 0x04;

constexpr size_t kIndexRowSize = 4;    // data page (3) and slot (1) after the key
constexpr size_t kIndexChildSize = 4;  // a node entry's child page

// Where an index page's header fields sit in one format.
struct IndexPageLayout {
  size_t previous = 12;
  size_t next = 16;
  size_t tail = 20;
  size_t prefix = 24;
  size_t prefixSize = 2;
  size_t nodeFlag = 26;
  size_t mask = 27;
  size_t maskBytes = 453;
  size_t dataStart = 480;
  uint32_t pageSize = 4096;

  // The most entry data a page holds: as far as the page and as far as the mask reach.
  size_t Capacity() const;
};

const IndexPageLayout& IndexPageLayoutOf(const FormatLayout& format);

// One entry of an index page.
struct IndexEntry {
  std::vector<uint8_t> key;
  uint32_t page = 0;   // the indexed row's home page
  uint8_t slot = 0;    // and its slot there
  uint32_t child = 0;  // node entries: the child page whose last entry this copies

  // The entry's bytes as a page stores them, without a prefix taken off.
  size_t StoredSize(bool node) const { return key.size() + kIndexRowSize + (node ? kIndexChildSize : 0); }
};

// Index order: key bytes, then row page, then slot (the child does not take part).
std::strong_ordering CompareEntries(const IndexEntry& a, const IndexEntry& b);
inline bool SameRowAndKey(const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) == 0; }

}  // namespace Jet
