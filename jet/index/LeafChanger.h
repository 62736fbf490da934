#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "jet/file/PageWriter.h"
#include "jet/index/IndexPageView.h"
#include "jet/index/IndexTree.h"
#include "jet/index/LeafSplice.h"

// The common index change made cheaply: a row's old entry out of its leaf and its new one into
// its own (often the same leaf), when no page empties or overflows. The change is the one or two
// leaves edited in place (write-order rule 8b) and, where one leaf's last entry changes, the
// entries that copy it in the node pages above, edited in place a level at a time upwards (8c).
// The node pages on the way down are read from their bytes where they lie and kept, with their
// entry ends, while the page file serves the same bytes for them.
namespace Jet {

// Index changes within leaves, for one page file.
class LeafChanger {
 public:
  // Node pages kept at most; past that the changer starts again with none.
  static constexpr size_t kKeptNodes = 4096;

  // Makes the change of `before` to `after` (either may be absent) in the tree at `root` whose
  // pages name `owner`, and returns true; or returns false having written nothing, for every
  // change it does not make: a page empties or overflows, both leaves' last entries change, a
  // node page above a changed last entry has several children and no tail (the general path
  // gives it one), an entry to remove is missing or one to insert present already, or a page is
  // not as the writer leaves them (the general path then makes the change or refuses it).
  bool Replace(PageWriter& writer, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
               const std::optional<IndexEntry>& before, const std::optional<IndexEntry>& after);

 private:
  // A node page kept with the bytes it was read from.
  struct KeptNode {
    Page source;
    IndexPageView view;
  };
  // A node page on the way down and the place of the entry followed (its count for the tail).
  struct Step {
    uint32_t number = 0;
    size_t at = 0;
  };
  // A leaf found for an entry: its page, its depth below the root (the steps down to it), the
  // bytes it was read from.
  struct FoundLeaf {
    uint32_t number = 0;
    size_t depth = 0;
    Step path[kMaxIndexDepth];
    Page source;
  };

  // The leaf where `probe` belongs (inserting: past the last entry of a node page without a tail,
  // its last child); none for anything the general path must see to.
  std::optional<FoundLeaf> LeafFor(const PageFile& pages, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
                                   const IndexEntry& probe, bool inserting);
  // Node page `number` read from `source`, kept or read again; none when it is not a readable
  // node page of `owner` with children.
  const IndexPageView* NodeOf(uint32_t number, Page source, const IndexPageLayout& layout, uint32_t owner);
  // The node pages above `leaf` made anew with its new last entry `last` where they copy it,
  // lowest first, into nodePages_; false when one of them is not edited in place.
  bool CarryLastUp(const FoundLeaf& leaf, IndexEntry& last, const IndexPageLayout& layout);

  std::unordered_map<uint32_t, KeptNode> nodes_;
  IndexPageView removedFrom_;
  IndexPageView insertedInto_;
  std::vector<uint8_t> first_;
  std::vector<uint8_t> second_;
  std::vector<uint16_t> ends_;
  IndexEntry last_;  // a leaf's new last entry, carried up
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> nodePages_;  // node pages to write, lowest first
};

}  // namespace Jet
