#include "jet/index/IndexEdit.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "jet/base/Failure.h"
#include "jet/index/IndexPieces.h"
#include "jet/index/IndexTree.h"

namespace Jet {
namespace {

IndexPage EmptyLeaf(uint32_t owner) {
  IndexPage page;
  page.owner = owner;
  return page;
}

bool IsEmpty(const IndexPage& page) { return page.entries.empty() && page.tail == 0; }

bool SamePage(const IndexPage& a, const IndexPage& b) {
  const auto sameEntry = [](const IndexEntry& x, const IndexEntry& y) {
    return SameRowAndKey(x, y) && x.child == y.child;
  };
  return a.leaf == b.leaf && a.owner == b.owner && a.previous == b.previous && a.next == b.next && a.tail == b.tail &&
         std::equal(a.entries.begin(), a.entries.end(), b.entries.begin(), b.entries.end(), sameEntry);
}

// The child of a node page where `probe` belongs: the child of the first entry not below it, else
// the tail; past the last entry of a page without a tail, the last child when inserting (the new
// entry becomes its last) and none when looking for an entry.
std::optional<uint32_t> ChildFor(const IndexPage& page, const IndexEntry& probe, bool inserting) {
  const auto it = std::find_if(page.entries.begin(), page.entries.end(),
                               [&](const IndexEntry& entry) { return CompareEntries(entry, probe) >= 0; });
  if (it != page.entries.end()) return it->child;
  if (page.tail != 0) return page.tail;
  if (inserting && !page.entries.empty()) return page.entries.back().child;
  return std::nullopt;
}

}  // namespace

size_t TreeLevels(const PageFile& pages, const IndexPageLayout& layout, uint32_t root) {
  size_t levels = 1;
  for (uint32_t number = root;; ++levels) {
    if (levels > kMaxIndexDepth)
      ThrowCorrupt("the index tree at " + PageText(root) + " is deeper than " + std::to_string(kMaxIndexDepth) + " levels");
    if (number == 0 || number >= pages.PageCount())
      ThrowCorrupt("the index tree at " + PageText(root) + " names " + PageText(number) + ", past the end of the file");
    const std::optional<uint32_t> child = FirstChildOf(pages.Read(number).Bytes(), number, layout);
    if (!child) return levels;
    number = *child;
  }
}

IndexEdit::IndexEdit(const PageFile& pages, const IndexPageLayout& layout, uint32_t root, uint32_t owner,
                     IndexPageCache* cache)
    : pages_(pages), layout_(layout), root_(root), owner_(owner), cache_(cache), levels_(TreeLevels(pages, layout, root)) {
  Load(root, levels_ - 1);
}

IndexEdit::Held& IndexEdit::Load(uint32_t number, size_t height) {
  if (const auto it = held_.find(number); it != held_.end()) {
    if (it->second.height != height)
      ThrowCorrupt("index " + PageText(number) + " lies on two levels of the tree at " + PageText(root_));
    return it->second;
  }
  if (number == 0 || number >= pages_.PageCount())
    ThrowCorrupt("the index tree at " + PageText(root_) + " names " + PageText(number) + ", past the end of the file");
  std::shared_ptr<const IndexPage> decoded =
      cache_ != nullptr ? cache_->Decode(pages_, number, layout_)
                        : std::make_shared<const IndexPage>(DecodeIndexPage(pages_.Read(number).Bytes(), number, layout_));
  const IndexPage& page = *decoded;
  if (page.owner != owner_)
    ThrowCorrupt("index " + PageText(number) + " belongs to the table definition on " + PageText(page.owner) +
                 ", not on " + PageText(owner_));
  if (page.leaf != (height == 0))
    ThrowCorrupt("index " + PageText(number) + " is a " + (page.leaf ? "leaf above the lowest" : "node page on the lowest") +
                 " level of the tree at " + PageText(root_));
  Held held{page, std::move(decoded), height};
  return held_.emplace(number, std::move(held)).first->second;
}

std::vector<uint32_t> IndexEdit::PathTo(const IndexEntry& probe, bool inserting) {
  std::vector<uint32_t> path{root_};
  for (size_t height = held_.at(root_).height; height > 0; --height) {
    const IndexPage& page = held_.at(path.back()).page;
    if (IsEmpty(page)) ThrowCorrupt("index node " + PageText(path.back()) + " has no children");
    const std::optional<uint32_t> child = ChildFor(page, probe, inserting);
    if (!child) ThrowRowEntry(probe, "has no entry");
    Load(*child, height - 1);
    path.push_back(*child);
  }
  return path;
}

IndexEntry IndexEdit::LastOf(uint32_t number, size_t height) {
  for (;; --height) {
    const IndexPage& page = Load(number, height).page;
    if (IsEmpty(page)) ThrowCorrupt("index " + PageText(number) + " is empty inside the tree at " + PageText(root_));
    if (page.leaf) return page.entries.back();
    number = page.tail != 0 ? page.tail : page.entries.back().child;
  }
}

std::vector<IndexEntry> IndexEdit::Children(uint32_t number, uint32_t settling) {
  const Held& held = held_.at(number);
  std::vector<IndexEntry> children = held.page.entries;
  if (held.page.tail != 0) {
    // The child being settled gets its last entry from the caller.
    IndexEntry tail = held.page.tail == settling ? IndexEntry{} : LastOf(held.page.tail, held.height - 1);
    tail.child = held.page.tail;
    children.push_back(std::move(tail));
  }
  return children;
}

void IndexEdit::Remove(const IndexEntry& entry) {
  const std::vector<uint32_t> path = PathTo(entry, false);
  std::vector<IndexEntry>& entries = held_.at(path.back()).page.entries;
  const auto at = std::lower_bound(entries.begin(), entries.end(), entry,
                                   [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
  if (at == entries.end() || !SameRowAndKey(*at, entry)) ThrowRowEntry(entry, "has no entry");
  entries.erase(at);
  Settle(path);
}

void IndexEdit::Insert(const IndexEntry& entry) {
  const std::vector<uint32_t> path = PathTo(entry, true);
  std::vector<IndexEntry>& entries = held_.at(path.back()).page.entries;
  const auto at = std::lower_bound(entries.begin(), entries.end(), entry,
                                   [](const IndexEntry& a, const IndexEntry& b) { return CompareEntries(a, b) < 0; });
  if (at != entries.end() && SameRowAndKey(*at, entry)) ThrowRowEntry(entry, "already has an entry");
  IndexEntry added = entry;
  added.child = 0;
  entries.insert(at, std::move(added));
  Settle(path);
}

void IndexEdit::Settle(const std::vector<uint32_t>& path) {
  uint32_t settledInPlace = 0;  // the page below, when its step changed no more than its entry
  for (size_t i = path.size() - 1; i > 0; --i) {
    const uint32_t number = path[i];
    const uint32_t parent = path[i - 1];
    if (SettleInPlace(number, parent, settledInPlace)) {
      settledInPlace = number;
      continue;
    }
    settledInPlace = 0;
    std::vector<IndexEntry> children = Children(parent, number);
    const auto at = std::find_if(children.begin(), children.end(),
                                 [&](const IndexEntry& child) { return child.child == number; });
    if (at == children.end()) ThrowInternalFault("an index page being changed is not among its parent's children");
    const Held& held = held_.at(number);
    if (IsEmpty(held.page)) {
      Unlink(number);
      Drop(number);
      children.erase(at);
    } else {
      *at = LastOf(number, held.height);
      at->child = number;
      if (!FitsIndexPage(held.page, layout_)) {
        const std::vector<IndexEntry> pieces = Split(number);
        children.insert(at, pieces.begin(), pieces.end());
      }
    }
    SetChildren(held_.at(parent).page, std::move(children));
  }
  Held& root = held_.at(root_);
  if (IsEmpty(root.page)) {
    root.page = EmptyLeaf(owner_);
    root.height = 0;
  }
  while (!FitsIndexPage(held_.at(root_).page, layout_)) Nest();
}

bool IndexEdit::SettleInPlace(uint32_t number, uint32_t parent, uint32_t below) {
  const Held& held = held_.at(number);
  if (IsEmpty(held.page) || !FitsIndexPage(held.page, layout_)) return false;
  IndexPage& up = held_.at(parent).page;
  // A parent of several children without a tail is rewritten with one by the general step.
  if (up.tail == 0 && up.entries.size() > 1) return false;
  if (up.tail == number) return true;
  const auto at = std::find_if(up.entries.begin(), up.entries.end(),
                               [&](const IndexEntry& entry) { return entry.child == number; });
  if (at == up.entries.end()) return false;
  const IndexPage& page = held.page;
  const uint32_t lastChild = page.tail != 0 ? page.tail : page.entries.back().child;
  if (!page.leaf && below != 0 && lastChild != below) return true;
  IndexEntry last = LastOf(number, held.height);
  at->key = std::move(last.key);
  at->page = last.page;
  at->slot = last.slot;
  return true;
}

std::vector<IndexEntry> IndexEdit::Split(uint32_t number) {
  Held& held = held_.at(number);
  const bool leaf = held.page.leaf;
  const std::vector<IndexEntry> items = leaf ? held.page.entries : Children(number, 0);
  const std::vector<size_t> ends = SplitEntries(items, !leaf, layout_);
  // Every piece but the last goes to a new page linked in before this one, which keeps the last
  // piece and so its last entry.
  const uint32_t previous = held.page.previous;
  if (previous != 0 && Load(previous, held.height).page.next != number) ThrowBadLink(previous, number);
  const std::vector<size_t> before(ends.begin(), ends.end() - 1);
  if (before.empty()) ThrowInternalFault("an index page that does not fit came out as one piece");
  std::vector<IndexEntry> pieces = AddPieces(items, before, leaf, held.height, previous, number);
  if (previous != 0) held_.at(previous).page.next = pieces.front().child;
  held.page.previous = pieces.back().child;
  std::vector<IndexEntry> kept(items.begin() + static_cast<std::ptrdiff_t>(before.back()), items.end());
  if (leaf)
    held.page.entries = std::move(kept);
  else
    SetChildren(held.page, std::move(kept));
  return pieces;
}

void IndexEdit::Nest() {
  Held& root = held_.at(root_);
  const bool leaf = root.page.leaf;
  const std::vector<IndexEntry> items = leaf ? root.page.entries : Children(root_, 0);
  const std::vector<IndexEntry> pieces = AddPieces(items, SplitEntries(items, !leaf, layout_), leaf, root.height, 0, 0);
  root.page = EmptyLeaf(owner_);
  SetChildren(root.page, pieces);
  ++root.height;
}

std::vector<IndexEntry> IndexEdit::AddPieces(const std::vector<IndexEntry>& items, const std::vector<size_t>& ends,
                                             bool leaf, size_t height, uint32_t previous, uint32_t next) {
  std::vector<IndexEntry> pieces;
  size_t first = 0;
  for (const size_t end : ends) {
    IndexPage page = EmptyLeaf(owner_);
    page.leaf = leaf;
    page.previous = previous;
    page.next = next;
    std::vector<IndexEntry> piece(items.begin() + static_cast<std::ptrdiff_t>(first),
                                  items.begin() + static_cast<std::ptrdiff_t>(end));
    if (leaf)
      page.entries = std::move(piece);
    else
      SetChildren(page, std::move(piece));
    const uint32_t added = AddPage(std::move(page), height);
    if (!pieces.empty()) held_.at(pieces.back().child).page.next = added;
    pieces.push_back(items[end - 1]);
    pieces.back().child = added;
    previous = added;
    first = end;
  }
  return pieces;
}

void IndexEdit::Unlink(uint32_t number) {
  const Held& held = held_.at(number);
  const IndexPage& page = held.page;
  if (page.previous != 0) {
    IndexPage& previous = Load(page.previous, held.height).page;
    if (previous.next != number) ThrowBadLink(page.previous, number);
    previous.next = page.next;
  }
  if (page.next != 0) {
    IndexPage& next = Load(page.next, held.height).page;
    if (next.previous != number) ThrowBadLink(page.next, number);
    next.previous = page.previous;
  }
}

void IndexEdit::Drop(uint32_t number) {
  if (number < kFirstNewPage) emptied_.push_back(number);
  held_.erase(number);
}

uint32_t IndexEdit::AddPage(IndexPage page, size_t height) {
  const uint32_t number = nextNew_++;
  held_.emplace(number, Held{std::move(page), nullptr, height});
  return number;
}

std::vector<uint32_t> IndexEdit::Added() const {
  std::vector<uint32_t> added;
  for (auto it = held_.lower_bound(kFirstNewPage); it != held_.end(); ++it) added.push_back(it->first);
  return added;
}

std::vector<uint32_t> IndexEdit::Changed() const {
  std::vector<std::pair<size_t, uint32_t>> changed;
  for (const auto& [number, held] : held_)
    if (held.original && !SamePage(held.page, *held.original)) changed.emplace_back(number == root_ ? SIZE_MAX : held.height, number);
  std::sort(changed.begin(), changed.end());
  std::vector<uint32_t> numbers;
  for (const auto& [height, number] : changed) numbers.push_back(number);
  return numbers;
}

std::vector<uint8_t> IndexEdit::Encode(uint32_t number, const std::map<uint32_t, uint32_t>& renumbered) const {
  const auto real = [&](uint32_t page) {
    if (page < kFirstNewPage) return page;
    const auto it = renumbered.find(page);
    if (it == renumbered.end()) ThrowInternalFault("an index page added by a change was given no page of the file");
    return it->second;
  };
  IndexPage page = held_.at(number).page;
  page.previous = real(page.previous);
  page.next = real(page.next);
  page.tail = real(page.tail);
  for (IndexEntry& entry : page.entries) entry.child = real(entry.child);
  return EncodeIndexPage(page, layout_);
}

void IndexEdit::ThrowBadLink(uint32_t from, uint32_t to) const {
  ThrowCorrupt("index " + PageText(from) + " does not link back to its neighbour on " + PageText(to) + " in the tree at " +
               PageText(root_));
}

void IndexEdit::ThrowRowEntry(const IndexEntry& entry, std::string_view what) const {
  ThrowCorrupt("the index at " + PageText(root_) + " " + std::string(what) + " for the row on " + PageText(entry.page) +
               ", slot " + std::to_string(entry.slot));
}

}  // namespace Jet
