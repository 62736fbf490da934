#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/base/ByteWriter.h"
#include "jet/crypto/PageCodec.h"

// Page access: the file seen as numbered pages of one size. Pages of a file whose page codec
// encodes them are decoded as they are read and kept in a small cache; other pages are views into
// the mapping, which shows what the writer has written to the file (a shared mapping).
// Pages the writer has written are served from its own copies until they have reached the file;
// a page written whole keeps its copy for the session (a reader may know a page by its bytes'
// address, as IndexPageCache does), a page edited in place (data pages) gives it up once written,
// unless it lies past the end of the mapping.
namespace Jet {

// One page; its bytes stay valid as long as this object lives.
class Page {
 public:
  Page() = default;
  Page(uint32_t number, ByteSpan bytes, std::shared_ptr<const std::vector<uint8_t>> owner = {})
      : number_(number), bytes_(bytes), owner_(std::move(owner)) {}
  uint32_t Number() const { return number_; }
  ByteSpan Bytes() const { return bytes_; }
  uint8_t Type() const { return bytes_.empty() ? 0xFF : bytes_[0]; }

 private:
  uint32_t number_ = 0;
  ByteSpan bytes_;
  std::shared_ptr<const std::vector<uint8_t>> owner_;
};

class PageFile {
 public:
  // `file` holds the whole file; pages past its last whole page do not exist. `codec` (never
  // null) tells how the pages are stored; the page writer encodes with the same one.
  PageFile(ByteSpan file, uint32_t pageSize,
           std::shared_ptr<const PageCodec> codec = std::make_shared<PlainPageCodec>());
  // A null codec is refused when compiling; so is a literal 0, which would otherwise become one.
  PageFile(ByteSpan file, uint32_t pageSize, std::nullptr_t) = delete;

  uint32_t PageSize() const { return pageSize_; }
  uint32_t PageCount() const { return pageCount_; }
  const PageCodec& Codec() const { return *codec_; }
  // Throws kCorrupt when the page lies outside the file.
  Page Read(uint32_t number) const;
  // How many page reads have been served (for measuring what a task touches).
  uint64_t ReadsServed() const { return reads_; }

  // Makes later reads of this page return `decoded` (the writer calls this for every page it
  // writes); a page one past the last adds a page to the file.
  void Replace(uint32_t number, std::vector<uint8_t> decoded);
  // The bytes of page `number` (which exists) to change in place; later reads return them. The
  // page's copy is reused when no Page shares it, else the page is copied (into a spare buffer
  // when there is one). The span is valid until the next call that changes the page file.
  MutableBytes Editable(uint32_t number);
  // Called once the page's bytes have reached the file: the copy of a page edited in place is
  // dropped when the mapping shows the file there (for an encoded file it moves to the decoded
  // cache). Copies of pages written whole, and of pages past the mapping, stay.
  void Settled(uint32_t number);
  // How many page copies are held (the pages written and not given up).
  size_t CopiesHeld() const { return written_.size(); }

 private:
  static constexpr size_t kCacheCapacity = 64;
  ByteSpan file_;
  uint32_t pageSize_;
  uint32_t pageCount_;
  std::shared_ptr<const PageCodec> codec_;
  mutable uint64_t reads_ = 0;
  // Decoded pages, most recently used first.
  mutable std::list<std::pair<uint32_t, std::shared_ptr<const std::vector<uint8_t>>>> cache_;
  mutable std::unordered_map<uint32_t, decltype(cache_)::iterator> cacheIndex_;
  // A written page's copy, and whether it was edited in place (so may be dropped once settled).
  struct Copy {
    std::shared_ptr<std::vector<uint8_t>> bytes;
    bool edited = false;
  };
  void Cache(uint32_t number, std::shared_ptr<const std::vector<uint8_t>> decoded) const;
  void Uncache(uint32_t number);

  uint32_t mappedPages_;  // the pages the mapping shows; the rest were appended
  std::unordered_map<uint32_t, Copy> written_;
  std::shared_ptr<std::vector<uint8_t>> spare_;  // a dropped copy's buffer, for the next edit
};

}  // namespace Jet
