#include "jet/index/SortedEntries.h"

#include <algorithm>
#include <cstring>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

std::strong_ordering CompareKeyBytes(ByteSpan a, ByteSpan b) {
  const size_t shorter = std::min(a.size(), b.size());
  const int order = shorter == 0 ? 0 : std::memcmp(a.data(), b.data(), shorter);
  if (order != 0) return order <=> 0;
  return a.size() <=> b.size();
}

}  // namespace

void SortedEntries::Add(ByteSpan key, uint32_t page, uint8_t slot) {
  if (keys_.size() + key.size() > UINT32_MAX) ThrowNotSupported("the keys of one index exceed 4 GB");
  items_.push_back(Item{static_cast<uint32_t>(keys_.size()), static_cast<uint32_t>(key.size()), page, slot});
  keys_.insert(keys_.end(), key.begin(), key.end());
}

void SortedEntries::Sort() {
  std::sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) {
    if (const auto order = CompareKeyBytes(KeyOf(a), KeyOf(b)); order != 0) return order < 0;
    if (a.page != b.page) return a.page < b.page;
    return a.slot < b.slot;
  });
}

std::strong_ordering SortedEntries::Compare(size_t i, const IndexEntry& entry) const {
  const Item& item = items_[i];
  if (const auto order = CompareKeyBytes(KeyOf(item), entry.key); order != 0) return order;
  if (item.page != entry.page) return item.page <=> entry.page;
  return item.slot <=> entry.slot;
}

std::vector<IndexEntry> SortedEntries::Entries() const {
  std::vector<IndexEntry> entries;
  entries.reserve(items_.size());
  for (const Item& item : items_) {
    const ByteSpan key = KeyOf(item);
    entries.push_back(IndexEntry{{key.begin(), key.end()}, item.page, item.slot, 0});
  }
  return entries;
}

}  // namespace Jet
