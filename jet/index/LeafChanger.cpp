#include "jet/index/LeafChanger.h"

#include <utility>

#include "jet/index/IndexTree.h"

namespace Jet {
namespace {

// Whether `edit` changes the last entry of `leaf`; if so, the new one into `last`.
bool LastAfter(const IndexPageView& leaf, const LeafEdit& edit, IndexEntry& last) {
  const size_t count = leaf.Count();
  const bool removesLast = edit.removeAt && *edit.removeAt + 1 == count;
  if (edit.inserted != nullptr && (edit.insertAt == count || (removesLast && edit.insertAt + 1 == count))) {
    last.key = edit.inserted->key;
    last.page = edit.inserted->page;
    last.slot = edit.inserted->slot;
    return true;
  }
  if (!removesLast || count < 2) return removesLast;
  const KeyParts key = leaf.KeyOf(count - 2);
  last.key.assign(key.head.begin(), key.head.end());
  last.key.insert(last.key.end(), key.tail.begin(), key.tail.end());
  last.page = leaf.RowPageOf(count - 2);
  last.slot = leaf.SlotOf(count - 2);
  return true;
}

}  // namespace

bool LeafChanger::Replace(PageWriter& writer, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
                          const std::optional<IndexEntry>& before, const std::optional<IndexEntry>& after) {
  const PageFile& pages = writer.Pages();
  std::optional<FoundLeaf> from;
  std::optional<FoundLeaf> into;
  if (before && !(from = LeafFor(pages, layout, root, owner, *before, false))) return false;
  if (after && !(into = LeafFor(pages, layout, root, owner, *after, true))) return false;
  if (from && into && from->depth != into->depth) return false;
  const bool oneLeaf = from && into && from->number == into->number;
  const auto readLeaf = [&](IndexPageView& view, const FoundLeaf& leaf) {
    return view.Read(leaf.source.Bytes(), layout) && view.Leaf() && view.Owner() == owner;
  };

  LeafEdit removal;
  LeafEdit insertion;
  removal.lastMayChange = insertion.lastMayChange = true;
  if (from) {
    if (!readLeaf(removedFrom_, *from)) return false;
    const size_t at = removedFrom_.LowerBound(*before);
    if (at == removedFrom_.Count() || removedFrom_.Compare(at, *before) != 0) return false;
    removal.removeAt = at;
  }
  if (into) {
    IndexPageView& view = oneLeaf ? removedFrom_ : insertedInto_;
    if (!oneLeaf && !readLeaf(view, *into)) return false;
    const size_t at = view.LowerBound(*after);
    if (at < view.Count() && view.Compare(at, *after) == 0) return false;
    LeafEdit& edit = oneLeaf ? removal : insertion;
    edit.inserted = &*after;
    edit.insertAt = at;
  }
  // At most one leaf's last entry changes; the node pages above it copy the new one.
  const bool fromLastChanges = from && LastAfter(removedFrom_, removal, last_);
  const bool intoLastChanges = into && !oneLeaf && LastAfter(insertedInto_, insertion, last_);
  if (fromLastChanges && intoLastChanges) return false;

  // Every page is made before any is written (write-order rule 3).
  if (from && !SpliceLeaf(removedFrom_, removal, layout, first_, ends_)) return false;
  if (into && !oneLeaf && !SpliceLeaf(insertedInto_, insertion, layout, second_, ends_)) return false;
  nodePages_.clear();
  if (fromLastChanges && !CarryLastUp(*from, last_, layout)) return false;
  if (intoLastChanges && !CarryLastUp(*into, last_, layout)) return false;

  // Write-order rule 8b: the changed leaves, in page order as the general path writes them; 8c:
  // the node pages above, the lowest first.
  std::pair<uint32_t, std::vector<uint8_t>*> writes[2];
  size_t count = 0;
  if (from) writes[count++] = {from->number, &first_};
  if (into && !oneLeaf) writes[count++] = {into->number, &second_};
  if (count == 2 && writes[1].first < writes[0].first) std::swap(writes[0], writes[1]);
  for (size_t i = 0; i < count; ++i) writer.Write(writes[i].first, std::move(*writes[i].second));
  for (auto& [number, bytes] : nodePages_) writer.Write(number, std::move(bytes));
  return true;
}

bool LeafChanger::CarryLastUp(const FoundLeaf& leaf, IndexEntry& last, const IndexPageLayout& layout) {
  for (size_t level = leaf.depth; level-- > 0;) {
    const Step& step = leaf.path[level];
    const auto kept = nodes_.find(step.number);
    if (kept == nodes_.end()) return false;
    const IndexPageView& node = kept->second.view;
    // The tail has no entry: the node's own last entry changes with it, in the node above.
    if (step.at == node.Count()) continue;
    // A node of several children without a tail is given one by the general path.
    if (node.Tail() == 0 && node.Count() > 1) return false;
    last.child = node.ChildOf(step.at);
    LeafEdit edit;
    edit.removeAt = step.at;
    edit.inserted = &last;
    edit.insertAt = node.LowerBound(last);
    edit.lastMayChange = true;
    if (edit.insertAt != step.at && edit.insertAt != step.at + 1) return false;
    nodePages_.emplace_back(step.number, std::vector<uint8_t>{});
    if (!SpliceLeaf(node, edit, layout, nodePages_.back().second, ends_)) return false;
    // An entry before the node's last changes nothing above.
    if (step.at + 1 < node.Count() || node.Tail() != 0) return true;
  }
  return true;
}

std::optional<LeafChanger::FoundLeaf> LeafChanger::LeafFor(const PageFile& pages, const IndexPageLayout& layout,
                                                           uint32_t root, uint32_t owner, const IndexEntry& probe,
                                                           bool inserting) {
  FoundLeaf found;
  uint32_t number = root;
  for (size_t depth = 0; depth < kMaxIndexDepth; ++depth) {
    if (number == 0 || number >= pages.PageCount()) return std::nullopt;
    Page source = pages.Read(number);
    if (source.Type() == kIndexLeafPageType) {
      found.number = number;
      found.depth = depth;
      found.source = std::move(source);
      return found;
    }
    const IndexPageView* node = NodeOf(number, std::move(source), layout, owner);
    if (node == nullptr) return std::nullopt;
    // The child of the first entry not below the probe, else the tail; past the last entry of a
    // page without a tail, its last child for an insertion (the new entry becomes its last).
    const uint32_t nodeNumber = number;
    size_t at = node->LowerBound(probe);
    if (at < node->Count())
      number = node->ChildOf(at);
    else if (node->Tail() != 0)
      number = node->Tail();
    else if (inserting)
      number = node->ChildOf(--at);
    else
      return std::nullopt;
    found.path[depth] = Step{nodeNumber, at};
  }
  return std::nullopt;
}

const IndexPageView* LeafChanger::NodeOf(uint32_t number, Page source, const IndexPageLayout& layout, uint32_t owner) {
  if (const auto kept = nodes_.find(number);
      kept != nodes_.end() && kept->second.source.Bytes().data() == source.Bytes().data())
    return &kept->second.view;
  if (nodes_.size() >= kKeptNodes) nodes_.clear();
  KeptNode& kept = nodes_[number];
  kept.source = std::move(source);
  IndexPageView& view = kept.view;
  if (view.Read(kept.source.Bytes(), layout) && !view.Leaf() && view.Owner() == owner &&
      (view.Count() > 0 || view.Tail() != 0))
    return &view;
  nodes_.erase(number);
  return nullptr;
}

}  // namespace Jet
