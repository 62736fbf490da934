#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "jet/file/PageFile.h"
#include "jet/index/IndexPage.h"
#include "jet/index/IndexPageCache.h"

// One change of an index tree worked out in memory before anything is written (write-order rules
// 3 and 8): the pages it reads, the pages it changes, the pages it adds (numbered from
// kFirstNewPage until the writer has real pages for them) and the pages it leaves empty.
//
// A node entry copies the last leaf entry below its child; the tail child has no entry. The edit
// keeps that by treating a node page as its list of children, each with its last entry: a leaf
// edit changes the leaf's last entry in its parent, a page that no longer fits is split into
// pieces placed before it (it keeps the last piece, so its own entry above stays right), a page
// left empty is unlinked and leaves its parent, and a root that no longer fits moves its
// content into new pages below it and becomes their node page. Pages of a level are linked across
// the whole level.
namespace Jet {

// The levels of the tree at `root` (1: the root is a leaf), counted down its first children.
// Throws kCorrupt for a page that is not an index page or a tree deeper than kMaxIndexDepth.
size_t TreeLevels(const PageFile& pages, const IndexPageLayout& layout, uint32_t root);

// The in-memory state of one index tree change.
class IndexEdit {
 public:
  static constexpr uint32_t kFirstNewPage = 0x80000000;

  // `cache`, when given, keeps the decoded pages for later edits of the same page file.
  IndexEdit(const PageFile& pages, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
            IndexPageCache* cache = nullptr);

  // Takes `entry` out of its leaf; kCorrupt when the tree has no such entry.
  void Remove(const IndexEntry& entry);
  // Puts `entry` into the leaf where it belongs; kCorrupt when the tree has it already.
  void Insert(const IndexEntry& entry);

  // Levels of the tree when the edit began (1: the root is a leaf).
  size_t Levels() const { return levels_; }
  // The pages added, in the order they were added.
  std::vector<uint32_t> Added() const;
  // The pages of the file the edit changed, the leaf level first, each level above after the one
  // below it (the root last).
  std::vector<uint32_t> Changed() const;
  // The pages of the file the edit took out of the tree.
  const std::vector<uint32_t>& Emptied() const { return emptied_; }
  // The bytes of an added or changed page, added pages named by their numbers in `renumbered`.
  std::vector<uint8_t> Encode(uint32_t number, const std::map<uint32_t, uint32_t>& renumbered) const;

 private:
  // A page the edit holds: as it is now, as the file has it (none for an added page), and its
  // height above the leaves.
  struct Held {
    IndexPage page;
    std::shared_ptr<const IndexPage> original;
    size_t height = 0;
  };

  // The page as the edit holds it, read from the file the first time; kCorrupt for a page that is
  // not an index page of this table or not on the level `height` above the leaves.
  Held& Load(uint32_t number, size_t height);
  // The pages from the root down to the leaf where `probe` belongs (inserting: past the last entry
  // of a page without a tail, its last child).
  std::vector<uint32_t> PathTo(const IndexEntry& probe, bool inserting);
  // The last leaf entry below a page (the page's own last entry for a leaf).
  IndexEntry LastOf(uint32_t number, size_t height);
  // A node page's children, each as the entry copying its last entry; the tail's when it is
  // `settling` is left for the caller to fill.
  std::vector<IndexEntry> Children(uint32_t number, uint32_t settling);
  // After a leaf on `path` changed: each page up the path is removed if empty, else has its last
  // entry copied into its parent and is split if it no longer fits; then the root is settled.
  void Settle(const std::vector<uint32_t>& path);
  // Settle's step for a page on the path that is not empty and still fits, under a parent holding
  // its children as entries and a tail: only the parent's entry for it can change, to its new last
  // entry. A node page's last entry changes only when the change went through its last child:
  // `below` is the child settled in place below it, 0 when that step took the general way (its
  // children may have changed), so the last entry is looked up again. False where the general step
  // is needed.
  bool SettleInPlace(uint32_t number, uint32_t parent, uint32_t below);
  // Moves all but the last piece of a page that no longer fits to new pages linked in before it;
  // returns the new pages as their parent's entries.
  std::vector<IndexEntry> Split(uint32_t number);
  // Moves the root's content to new pages one level down; the root becomes their node page.
  void Nest();
  // Puts the pieces of `items` ending at `ends` on new pages of `height`, linked to each other
  // and to `previous` and `next`; returns them as their parent's entries.
  std::vector<IndexEntry> AddPieces(const std::vector<IndexEntry>& items, const std::vector<size_t>& ends, bool leaf,
                                    size_t height, uint32_t previous, uint32_t next);
  // Links a page's neighbours to each other, past it.
  void Unlink(uint32_t number);
  // Takes a page out of the edit: a page of the file is emptied, an added one forgotten.
  void Drop(uint32_t number);
  // Holds a new page under the next number from kFirstNewPage.
  uint32_t AddPage(IndexPage page, size_t height);
  [[noreturn]] void ThrowBadLink(uint32_t from, uint32_t to) const;
  [[noreturn]] void ThrowRowEntry(const IndexEntry& entry, std::string_view what) const;

  const PageFile& pages_;
  const IndexPageLayout& layout_;
  uint32_t root_;
  uint32_t owner_;
  IndexPageCache* cache_;
  size_t levels_ = 1;
  uint32_t nextNew_ = kFirstNewPage;
  std::map<uint32_t, Held> held_;
  std::vector<uint32_t> emptied_;
};

}  // namespace Jet
