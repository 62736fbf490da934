#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/index/IndexFormat.h"

// An index page read where it lies: its header fields and where each entry ends, with every entry
// compared and copied straight from the page's bytes (the layout of IndexFormat.h), so that the
// writer's in-place path finds and edits entries without decoding the page.
namespace Jet {

// A key as a page stores it: the bytes taken from the page's first entry (the shared prefix) and
// the entry's own bytes after them.
struct KeyParts {
  ByteSpan head;
  ByteSpan tail;

  size_t size() const { return head.size() + tail.size(); }
  uint8_t operator[](size_t at) const { return at < head.size() ? head[at] : tail[at - head.size()]; }
};

// Key order of a stored key and a plain one: bytes unsigned, a proper prefix first.
std::strong_ordering CompareKeys(const KeyParts& stored, ByteSpan key);
// How many leading bytes two keys share.
size_t SharedKeyBytes(const KeyParts& a, const KeyParts& b);

// One index page's bytes with its entry ends found. The bytes must outlive the view.
class IndexPageView {
 public:
  // Reads `bytes` as an index page. False for a page DecodeIndexPage refuses, and for one whose
  // shared prefix reaches into an entry's row fields (a form the writer never makes): such pages
  // are left to the general path, which decodes them whole or refuses them.
  bool Read(ByteSpan bytes, const IndexPageLayout& layout);

  bool Leaf() const { return leaf_; }
  uint32_t Owner() const { return owner_; }
  uint32_t Previous() const { return previous_; }
  uint32_t Next() const { return next_; }
  uint32_t Tail() const { return tail_; }
  size_t Prefix() const { return prefix_; }
  size_t Count() const { return ends_.size(); }
  size_t DataEnd() const { return ends_.empty() ? 0 : ends_.back(); }
  ByteSpan Data() const { return data_; }

  // Where entry `i`'s stored bytes start and end in the data (the first entry whole, later ones
  // without the prefix).
  size_t StartOf(size_t i) const { return i == 0 ? 0 : ends_[i - 1]; }
  size_t EndOf(size_t i) const { return ends_[i]; }
  // Entry `i`'s key bytes, its row and (node pages) its child.
  KeyParts KeyOf(size_t i) const;
  uint32_t RowPageOf(size_t i) const;
  uint8_t SlotOf(size_t i) const;
  uint32_t ChildOf(size_t i) const;
  // The bytes entry `i` has with its prefix put back.
  size_t WholeSizeOf(size_t i) const { return EndOf(i) - StartOf(i) + (i == 0 ? 0 : prefix_); }

  // Index order of entry `i` and `probe` (key, then row; the child does not take part).
  std::strong_ordering Compare(size_t i, const IndexEntry& probe) const;
  // The first entry not below `probe` (Count() when every entry is).
  size_t LowerBound(const IndexEntry& probe) const;

 private:
  size_t Trailer() const { return kIndexRowSize + (leaf_ ? 0 : kIndexChildSize); }

  ByteSpan data_;
  bool leaf_ = true;
  uint32_t owner_ = 0;
  uint32_t previous_ = 0;
  uint32_t next_ = 0;
  uint32_t tail_ = 0;
  size_t prefix_ = 0;
  std::vector<uint16_t> ends_;  // kept between reads, so that reading a page allocates nothing
};

}  // namespace Jet
