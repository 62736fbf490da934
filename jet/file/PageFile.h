#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/crypto/PageCodec.h"

// Page access: the file seen as numbered pages of one size. Pages of a file whose page codec
// encodes them are decoded as they are read and kept in a small cache; other pages are views into
// the mapping.
// Pages the writer has written since the file was opened are served from its own copies.
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
  std::unordered_map<uint32_t, std::shared_ptr<const std::vector<uint8_t>>> written_;
};

}  // namespace Jet
