#include "jet/index/IndexShapeCheck.h"

#include <optional>
#include <unordered_set>

#include "jet/JetError.h"
#include "jet/base/Failure.h"
#include "jet/index/IndexTree.h"

namespace Jet {
namespace {

std::string EntryText(size_t position) { return "entry " + std::to_string(position + 1); }

// One walk: the pages seen, the leaves in order, the problems so far.
class ShapeWalk {
 public:
  ShapeWalk(const PageFile& pages, const FormatLayout& format, uint32_t root, uint32_t owner)
      : pages_(pages), tree_(pages, format, root), owner_(owner) {}

  IndexShape Run() {
    Visit(tree_.Root(), 0);
    CheckLeafLinks();
    return std::move(shape_);
  }

 private:
  // What a subtree holds: whether it could be walked, and its last leaf entry.
  struct Subtree {
    bool walked = false;
    std::optional<IndexEntry> last;
  };

  void Report(uint32_t page, std::string what) { shape_.problems.push_back({page, std::move(what)}); }

  std::optional<IndexPage> Read(uint32_t number) {
    if (number == 0 || number >= pages_.PageCount()) {
      Report(number, "is not a page of the file, yet the index points to it");
      return std::nullopt;
    }
    const uint8_t type = pages_.Read(number).Type();
    if (type != kIndexNodePageType && type != kIndexLeafPageType) {
      Report(number, "is not an index page (page type " + std::to_string(type) + "), yet the index points to it");
      return std::nullopt;
    }
    try {
      return tree_.ReadPage(number);
    } catch (const JetError& error) {
      Report(number, std::string("cannot be read: ") + error.what());
      return std::nullopt;
    }
  }

  Subtree Visit(uint32_t number, size_t depth) {
    if (depth >= kMaxIndexDepth) {
      Report(number, "lies deeper than " + std::to_string(kMaxIndexDepth) + " levels below the root");
      return {};
    }
    if (!seen_.insert(number).second) {
      Report(number, "is reached a second time from the root");
      return {};
    }
    const std::optional<IndexPage> page = Read(number);
    if (!page) return {};
    ++shape_.pages;
    if (page->owner != owner_)
      Report(number, "belongs to the table at " + PageText(page->owner) + ", not to this table at " +
                         PageText(owner_));
    for (size_t i = 1; i < page->entries.size(); ++i)
      if (CompareEntries(page->entries[i - 1], page->entries[i]) >= 0)
        Report(number, EntryText(i) + " is not after " + EntryText(i - 1) + " (key " +
                           KeyText(page->entries[i].key) + ")");
    return page->leaf ? VisitLeaf(number, *page) : VisitNode(number, *page, depth);
  }

  Subtree VisitLeaf(uint32_t number, const IndexPage& page) {
    leaves_.push_back({number, page.previous, page.next});
    if (!page.entries.empty() && !shape_.entries.empty() &&
        CompareEntries(shape_.entries.back().entry, page.entries.front()) >= 0)
      Report(number, "its first entry is not after the last entry of the leaf before it, " +
                         PageText(shape_.entries.back().leaf));
    for (const IndexEntry& entry : page.entries) shape_.entries.push_back({entry, number});
    if (page.entries.empty() && number != tree_.Root()) Report(number, "is a leaf below the root without entries");
    return {true, page.entries.empty() ? std::nullopt : std::optional(page.entries.back())};
  }

  Subtree VisitNode(uint32_t number, const IndexPage& page, size_t depth) {
    if (page.entries.empty() && page.tail == 0) Report(number, "is a node page without children");
    Subtree last{true, std::nullopt};
    for (size_t i = 0; i < page.entries.size(); ++i) {
      const IndexEntry& entry = page.entries[i];
      last = Visit(entry.child, depth + 1);
      if (last.walked && !(last.last && SameRowAndKey(*last.last, entry)))
        Report(number, EntryText(i) + " differs from the last entry below its child, " + PageText(entry.child));
    }
    if (page.tail != 0) last = Visit(page.tail, depth + 1);
    return last;
  }

  // The leaves, in walk order, form one doubly linked list.
  void CheckLeafLinks() {
    for (size_t i = 0; i < leaves_.size(); ++i) {
      const uint32_t before = i == 0 ? 0 : leaves_[i - 1].number;
      const uint32_t after = i + 1 == leaves_.size() ? 0 : leaves_[i + 1].number;
      if (leaves_[i].previous != before)
        Report(leaves_[i].number, "links back to " + PageText(leaves_[i].previous) + " where the leaf before it is " +
                                      PageText(before));
      if (leaves_[i].next != after)
        Report(leaves_[i].number, "links on to " + PageText(leaves_[i].next) + " where the leaf after it is " +
                                      PageText(after));
    }
  }

  struct Leaf {
    uint32_t number, previous, next;
  };

  const PageFile& pages_;
  IndexTree tree_;
  uint32_t owner_;
  std::unordered_set<uint32_t> seen_;
  std::vector<Leaf> leaves_;
  IndexShape shape_;
};

}  // namespace

IndexShape CheckIndexShape(const PageFile& pages, const FormatLayout& format, uint32_t root, uint32_t owner) {
  return ShapeWalk(pages, format, root, owner).Run();
}

std::string KeyText(const std::vector<uint8_t>& key) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  constexpr size_t kShown = 24;
  std::string text;
  for (size_t i = 0; i < key.size() && i < kShown; ++i) {
    if (i > 0) text += ' ';
    text += kDigits[key[i] >> 4];
    text += kDigits[key[i] & 0x0F];
  }
  if (key.size() > kShown) text += " ...";
  return text.empty() ? "(empty)" : text;
}

}  // namespace Jet
