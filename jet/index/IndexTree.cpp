#include "jet/index/IndexTree.h"

#include <algorithm>
#include <unordered_set>

#include "jet/base/Failure.h"

namespace Jet {
namespace {

// The pages one walk has reached; a page reached twice, or more pages than the file holds, is a
// damaged tree.
class WalkGuard {
 public:
  WalkGuard(const PageFile& pages, uint32_t root) : limit_(pages.PageCount()), root_(root) {}

  void Enter(uint32_t page, size_t depth) {
    if (depth >= kMaxIndexDepth)
      ThrowCorrupt("the index tree at " + PageText(root_) + " is deeper than " +
                   std::to_string(kMaxIndexDepth) + " levels at " + PageText(page));
    if (!seen_.insert(page).second)
      ThrowCorrupt("the index tree at " + PageText(root_) + " reaches " + PageText(page) + " twice");
    if (seen_.size() > limit_)
      ThrowCorrupt("the index tree at " + PageText(root_) + " reaches more pages than the file holds");
  }

 private:
  size_t limit_;
  uint32_t root_;
  std::unordered_set<uint32_t> seen_;
};

// Visits the leaf entries below `number` in order; false when `visit` stopped the walk.
bool VisitSubtree(const IndexTree& tree, uint32_t number, size_t depth, WalkGuard& guard,
                  const std::function<bool(const IndexEntry&)>& visit) {
  guard.Enter(number, depth);
  const IndexPage page = tree.ReadPage(number);
  if (page.leaf) return std::all_of(page.entries.begin(), page.entries.end(), visit);
  for (const IndexEntry& entry : page.entries)
    if (!VisitSubtree(tree, entry.child, depth + 1, guard, visit)) return false;
  return page.tail == 0 || VisitSubtree(tree, page.tail, depth + 1, guard, visit);
}

// The child of a node page where `probe` belongs: the child of the first entry not below it, else
// the tail (a page without a tail keeps its last child as an entry).
uint32_t ChildFor(const IndexPage& page, uint32_t number, const IndexEntry& probe) {
  const auto it = std::find_if(page.entries.begin(), page.entries.end(),
                               [&](const IndexEntry& entry) { return CompareEntries(entry, probe) >= 0; });
  if (it != page.entries.end()) return it->child;
  if (page.tail != 0) return page.tail;
  if (page.entries.empty()) ThrowCorrupt("index node " + PageText(number) + " has no children");
  return page.entries.back().child;
}

}  // namespace

IndexTree::IndexTree(const PageFile& pages, const FormatLayout& format, uint32_t root)
    : pages_(pages), layout_(IndexPageLayoutOf(format)), root_(root) {}

IndexPage IndexTree::ReadPage(uint32_t number) const {
  return DecodeIndexPage(pages_.Read(number).Bytes(), number, layout_);
}

void IndexTree::ForEachEntry(const std::function<bool(const IndexEntry&)>& visit) const {
  WalkGuard guard(pages_, root_);
  VisitSubtree(*this, root_, 0, guard, visit);
}

IndexPage IndexTree::Descend(const IndexEntry& probe, std::vector<uint32_t>& path) const {
  WalkGuard guard(pages_, root_);
  uint32_t number = root_;
  for (size_t depth = 0;; ++depth) {
    guard.Enter(number, depth);
    path.push_back(number);
    IndexPage page = ReadPage(number);
    if (page.leaf) return page;
    number = ChildFor(page, number, probe);
  }
}

std::optional<IndexEntry> IndexTree::LowerBound(const IndexEntry& probe) const {
  std::vector<uint32_t> path;
  IndexPage leaf = Descend(probe, path);
  // The leaf the descent ends on holds the answer in a sound tree; later leaves are only reached
  // when the probe lies past its last entry.
  WalkGuard guard(pages_, root_);
  uint32_t number = path.back();
  for (;;) {
    guard.Enter(number, 0);
    const auto it = std::find_if(leaf.entries.begin(), leaf.entries.end(),
                                 [&](const IndexEntry& entry) { return CompareEntries(entry, probe) >= 0; });
    if (it != leaf.entries.end()) return *it;
    if (leaf.next == 0) return std::nullopt;
    number = leaf.next;
    leaf = ReadPage(number);
    if (!leaf.leaf) ThrowCorrupt("index leaf links to " + PageText(number) + ", a node page");
  }
}

bool IndexTree::HasKey(std::span<const uint8_t> key) const {
  IndexEntry probe;
  probe.key.assign(key.begin(), key.end());
  const std::optional<IndexEntry> found = LowerBound(probe);
  return found && std::ranges::equal(found->key, key);
}

std::vector<uint32_t> IndexTree::PathTo(const IndexEntry& probe) const {
  std::vector<uint32_t> path;
  Descend(probe, path);
  return path;
}

}  // namespace Jet
