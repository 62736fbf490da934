#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/index/IndexFormat.h"

// Many index entries held compactly: every key in one buffer, each entry its place there and its
// row, so that the entries of a whole table's rows are gathered and sorted without a heap block
// for each key.
namespace Jet {

// Entries gathered, then sorted into index order.
class SortedEntries {
 public:
  void Add(ByteSpan key, uint32_t page, uint8_t slot);
  // Puts the entries into index order (key bytes, then row page, then slot).
  void Sort();

  size_t Size() const { return items_.size(); }
  // Index order of entry `i` and `entry` (the child does not take part).
  std::strong_ordering Compare(size_t i, const IndexEntry& entry) const;
  uint32_t PageOf(size_t i) const { return items_[i].page; }
  uint8_t SlotOf(size_t i) const { return items_[i].slot; }
  // All entries as IndexEntry values, in their order.
  std::vector<IndexEntry> Entries() const;

 private:
  struct Item {
    uint32_t offset;
    uint32_t size;
    uint32_t page;
    uint8_t slot;
  };
  ByteSpan KeyOf(const Item& item) const { return ByteSpan(keys_).subspan(item.offset, item.size); }

  std::vector<uint8_t> keys_;
  std::vector<Item> items_;
};

}  // namespace Jet
