#include "jet/index/LeafChanger.h"

#include <utility>

#include "jet/index/IndexTree.h"

namespace Jet {

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
  // Both leaves are made before either is written (write-order rule 3).
  if (from && !SpliceLeaf(removedFrom_, removal, layout, first_, ends_)) return false;
  if (into && !oneLeaf && !SpliceLeaf(insertedInto_, insertion, layout, second_, ends_)) return false;

  // Write-order rule 8b: the changed leaves, in page order as the general path writes them; no
  // node page changes.
  std::pair<uint32_t, std::vector<uint8_t>*> writes[2];
  size_t count = 0;
  if (from) writes[count++] = {from->number, &first_};
  if (into && !oneLeaf) writes[count++] = {into->number, &second_};
  if (count == 2 && writes[1].first < writes[0].first) std::swap(writes[0], writes[1]);
  for (size_t i = 0; i < count; ++i) writer.Write(writes[i].first, std::move(*writes[i].second));
  return true;
}

std::optional<LeafChanger::FoundLeaf> LeafChanger::LeafFor(const PageFile& pages, const IndexPageLayout& layout,
                                                           uint32_t root, uint32_t owner, const IndexEntry& probe,
                                                           bool inserting) {
  uint32_t number = root;
  for (size_t depth = 0; depth < kMaxIndexDepth; ++depth) {
    if (number == 0 || number >= pages.PageCount()) return std::nullopt;
    Page source = pages.Read(number);
    if (source.Type() == kIndexLeafPageType) return FoundLeaf{number, depth, std::move(source)};
    const IndexPageView* node = NodeOf(number, std::move(source), layout, owner);
    if (node == nullptr) return std::nullopt;
    // The child of the first entry not below the probe, else the tail; past the last entry of a
    // page without a tail, its last child for an insertion (the new entry becomes its last).
    const size_t at = node->LowerBound(probe);
    if (at < node->Count())
      number = node->ChildOf(at);
    else if (node->Tail() != 0)
      number = node->Tail();
    else if (inserting)
      number = node->ChildOf(node->Count() - 1);
    else
      return std::nullopt;
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
