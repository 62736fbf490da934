#include "jet/index/IndexPieces.h"

#include <algorithm>
#include <string>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

// The stored size of runs of entries, prefix compression included, as EncodeIndexPage lays them.
class RunSizes {
 public:
  RunSizes(std::span<const IndexEntry> entries, bool node, const IndexPageLayout& layout)
      : entries_(entries), prefixLimit_(layout.prefixSize == 1 ? 0xFF : 0xFFFF), capacity_(layout.Capacity()) {
    sums_.reserve(entries.size() + 1);
    sums_.push_back(0);
    for (const IndexEntry& entry : entries) {
      const size_t size = entry.StoredSize(node);
      if (size > capacity_)
        ThrowNotSupported("an index entry of " + std::to_string(size) + " bytes is longer than an index page holds");
      sums_.push_back(sums_.back() + size);
    }
  }

  // The bytes entries [first, end) take on a page; more than any page holds when their shared
  // prefix is longer than the page can say.
  size_t Size(size_t first, size_t end) const {
    if (end - first < 2) return sums_[end] - sums_[first];
    const auto& a = entries_[first].key;
    const auto& b = entries_[end - 1].key;
    const size_t prefix = static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    if (prefix > prefixLimit_) return capacity_ + 1;
    return sums_[end] - sums_[first] - prefix * (end - first - 1);
  }
  size_t Capacity() const { return capacity_; }

 private:
  std::span<const IndexEntry> entries_;
  std::vector<size_t> sums_;
  size_t prefixLimit_;
  size_t capacity_;
};

std::vector<size_t> Pack(const RunSizes& sizes, size_t count, size_t budget) {
  std::vector<size_t> ends;
  for (size_t first = 0; first < count;) {
    size_t end = first + 1;  // one entry always fits: RunSizes refused longer ones
    while (end < count && sizes.Size(first, end + 1) <= budget) ++end;
    ends.push_back(end);
    first = end;
  }
  return ends;
}

}  // namespace

std::vector<size_t> PackEntries(std::span<const IndexEntry> entries, bool node, size_t budget,
                                const IndexPageLayout& layout) {
  return Pack(RunSizes(entries, node, layout), entries.size(), budget);
}

std::vector<size_t> SplitEntries(std::span<const IndexEntry> entries, bool node, const IndexPageLayout& layout) {
  const RunSizes sizes(entries, node, layout);
  const size_t count = entries.size();
  size_t best = 0;
  size_t bestSize = sizes.Capacity() + 1;
  for (size_t cut = 1; cut < count; ++cut) {
    const size_t larger = std::max(sizes.Size(0, cut), sizes.Size(cut, count));
    if (larger < bestSize) {
      best = cut;
      bestSize = larger;
    }
  }
  if (best != 0) return {best, count};
  return Pack(sizes, count, sizes.Capacity());
}

void SetChildren(IndexPage& node, std::vector<IndexEntry> children) {
  node.leaf = false;
  node.tail = 0;
  if (children.size() >= 2) {
    node.tail = children.back().child;
    children.pop_back();
  }
  node.entries = std::move(children);
}

}  // namespace Jet
