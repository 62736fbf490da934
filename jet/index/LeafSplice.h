#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "jet/index/IndexPageView.h"

// A leaf edited where it lies: one entry taken out and/or one put in by cutting and splicing the
// page's entry bytes, the other entries' bytes copied as they are (only a change of the shared
// prefix makes them move by more than the edit's size). The result is the very page
// EncodeIndexPage makes of the edited entries.
namespace Jet {

// One edit of one page: the entry taken out (by its place) and the entry put in before the entry
// now at `insertAt` (its place among the page's entries before the edit; on a node page with its
// child).
struct LeafEdit {
  std::optional<size_t> removeAt;
  const IndexEntry* inserted = nullptr;
  size_t insertAt = 0;
  bool lastMayChange = false;  // the caller puts the new last entry into the parent
};

// Writes into `page` (made `layout.pageSize` bytes) the page `leaf` (a leaf, or a node page whose
// entry for a child changes) after `edit`; false, with `page` of no use, when the edit is not one
// the page takes on its own: it changes the last entry (which the parent copies) unless
// `lastMayChange`, it empties the page, the entries no longer fit, or their shared prefix is
// longer than the page can say. The inserted entry must not equal one of the page's. `ends` is
// scratch room kept by the caller.
bool SpliceLeaf(const IndexPageView& leaf, const LeafEdit& edit, const IndexPageLayout& layout,
                std::vector<uint8_t>& page, std::vector<uint16_t>& ends);

}  // namespace Jet
