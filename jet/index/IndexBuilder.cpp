#include "jet/index/IndexBuilder.h"

#include "jet/base/Failure.h"
#include "jet/index/IndexPieces.h"

namespace Jet {
namespace {

using BuiltPages = std::vector<std::pair<uint32_t, std::vector<uint8_t>>>;

// A page holding `items`: a leaf's entries, or a node page's children.
IndexPage PageOf(std::vector<IndexEntry> items, bool leaf, uint32_t owner) {
  IndexPage page;
  page.owner = owner;
  if (leaf)
    page.entries = std::move(items);
  else
    SetChildren(page, std::move(items));
  return page;
}

}  // namespace

BuiltPages BuildIndexPages(const std::vector<IndexEntry>& sorted, uint32_t root, uint32_t owner,
                           const IndexPageLayout& layout, const std::function<uint32_t()>& newPage) {
  BuiltPages built;
  const size_t budget = layout.Capacity() * kIndexBuildFillTenths / 10;
  std::vector<IndexEntry> level = sorted;
  for (IndexEntry& entry : level) entry.child = 0;
  bool leaf = true;
  // Each round lays one level on pages and makes its pages' last entries the level above; the
  // level that fits one page goes on the root. A level whose pages each hold one entry would
  // never shrink to one page: its entries are too long for a tree.
  for (;;) {
    const std::vector<size_t> ends = PackEntries(level, !leaf, budget, layout);
    if (ends.size() <= 1) {
      built.emplace_back(root, EncodeIndexPage(PageOf(std::move(level), leaf, owner), layout));
      return built;
    }
    if (ends.size() == level.size()) ThrowNotSupported("the index's entries are too long for two to share a page");
    std::vector<uint32_t> numbers;
    for (size_t i = 0; i < ends.size(); ++i) numbers.push_back(newPage());
    std::vector<IndexEntry> above;
    for (size_t i = 0, first = 0; i < ends.size(); first = ends[i++]) {
      std::vector<IndexEntry> items(level.begin() + static_cast<std::ptrdiff_t>(first),
                                    level.begin() + static_cast<std::ptrdiff_t>(ends[i]));
      IndexEntry last = items.back();
      last.child = numbers[i];
      above.push_back(std::move(last));
      IndexPage page = PageOf(std::move(items), leaf, owner);
      page.previous = i == 0 ? 0 : numbers[i - 1];
      page.next = i + 1 == ends.size() ? 0 : numbers[i + 1];
      built.emplace_back(numbers[i], EncodeIndexPage(page, layout));
    }
    level = std::move(above);
    leaf = false;
  }
}

}  // namespace Jet
