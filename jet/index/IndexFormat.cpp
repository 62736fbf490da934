#include "jet/index/IndexFormat.h"

#include <algorithm>

namespace Jet {

size_t IndexPageLayout::Capacity() const { return std::min(pageSize - dataStart, maskBytes * 8 - 1); }

const IndexPageLayout& IndexPageLayoutOf(const FormatLayout& format) {
  static const IndexPageLayout kJet4{};
  static const IndexPageLayout kJet3{.previous = 8,
                                     .next = 12,
                                     .tail = 16,
                                     .prefix = 20,
                                     .prefixSize = 1,
                                     .nodeFlag = 21,
                                     .mask = 22,
                                     .maskBytes = 226,
                                     .dataStart = 248,
                                     .pageSize = 2048};
  return format.jet3 ? kJet3 : kJet4;
}

std::strong_ordering CompareEntries(const IndexEntry& a, const IndexEntry& b) {
  const size_t shorter = std::min(a.key.size(), b.key.size());
  for (size_t i = 0; i < shorter; ++i)
    if (a.key[i] != b.key[i]) return a.key[i] <=> b.key[i];
  if (a.key.size() != b.key.size()) return a.key.size() <=> b.key.size();
  if (a.page != b.page) return a.page <=> b.page;
  return a.slot <=> b.slot;
}

}  // namespace Jet
