#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "jet/index/IndexPage.h"

// How a run of sorted entries is cut into pages, and how a node page holds its children: the
// builder and the writer lay pages out with these, so that both write the same shapes.
namespace Jet {

// Cuts `entries` (in order) into pieces from the left, each taking as many entries as its
// prefix-compressed size keeps within `budget` bytes (a single entry within the page's room).
// Returns the end of each piece; none for no entries. Throws kNotSupported for an entry longer
// than a page holds.
std::vector<size_t> PackEntries(std::span<const IndexEntry> entries, bool node, size_t budget,
                                const IndexPageLayout& layout);

// Cuts the entries of a page that no longer fits into pieces that do: two of about the same size
// where two are enough, else pieces packed full from the left. Returns the end of each piece.
std::vector<size_t> SplitEntries(std::span<const IndexEntry> entries, bool node, const IndexPageLayout& layout);

// Sets a node page's children: each is an entry copying the child's last entry, its `child` the
// child page, in order. Two or more: the last becomes the tail and has no entry; one: a plain
// entry with tail 0.
void SetChildren(IndexPage& node, std::vector<IndexEntry> children);

}  // namespace Jet
