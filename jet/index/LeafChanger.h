#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "jet/file/PageWriter.h"
#include "jet/index/IndexPageView.h"
#include "jet/index/LeafSplice.h"

// The common index change made cheaply: a row's old entry out of its leaf and its new one into
// its own (often the same leaf), when neither leaf's last entry changes, none empties and both
// still fit. Then no node page changes, so the change is the one or two leaves edited in place
// (write-order rule 8b). The node pages on the way down are read from their bytes where they lie
// and kept, with their entry ends, while the page file serves the same bytes for them.
namespace Jet {

// Index changes within leaves, for one page file.
class LeafChanger {
 public:
  // Node pages kept at most; past that the changer starts again with none.
  static constexpr size_t kKeptNodes = 4096;

  // Makes the change of `before` to `after` (either may be absent) in the tree at `root` whose
  // pages name `owner`, and returns true; or returns false having written nothing, for every
  // change it does not make: a leaf's last entry changes, a leaf empties or overflows, an entry
  // to remove is missing or one to insert present already, or a page is not as the writer
  // leaves them (the general path then makes the change or refuses it).
  bool Replace(PageWriter& writer, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
               const std::optional<IndexEntry>& before, const std::optional<IndexEntry>& after);

 private:
  // A node page kept with the bytes it was read from.
  struct KeptNode {
    Page source;
    IndexPageView view;
  };
  // A leaf found for an entry: its page, its depth below the root, the bytes it was read from.
  struct FoundLeaf {
    uint32_t number = 0;
    size_t depth = 0;
    Page source;
  };

  // The leaf where `probe` belongs (inserting: past the last entry of a node page without a tail,
  // its last child); none for anything the general path must see to.
  std::optional<FoundLeaf> LeafFor(const PageFile& pages, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
                                   const IndexEntry& probe, bool inserting);
  // Node page `number` read from `source`, kept or read again; none when it is not a readable
  // node page of `owner` with children.
  const IndexPageView* NodeOf(uint32_t number, Page source, const IndexPageLayout& layout, uint32_t owner);

  std::unordered_map<uint32_t, KeptNode> nodes_;
  IndexPageView removedFrom_;
  IndexPageView insertedInto_;
  std::vector<uint8_t> first_;
  std::vector<uint8_t> second_;
  std::vector<uint16_t> ends_;
};

}  // namespace Jet
