#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "jet/file/PageFile.h"
#include "jet/index/IndexPage.h"

// Decoded index pages kept from one index change to the next, so that the pages every change
// walks through (the root and the node pages below it) are decoded once, not once a change.
namespace Jet {

// The cache. A kept page is used only while the page file still serves the very bytes it was
// decoded from: a page the writer writes gets new bytes, and the kept page holds on to its old
// ones, so their place cannot be taken by another page's.
class IndexPageCache {
 public:
  // Pages kept at most; past that the cache starts again empty.
  static constexpr size_t kCapacity = 1024;

  // Page `number` decoded as DecodeIndexPage decodes it (and refused as it refuses it).
  std::shared_ptr<const IndexPage> Decode(const PageFile& pages, uint32_t number, const IndexPageLayout& layout);

 private:
  struct Kept {
    Page source;
    std::shared_ptr<const IndexPage> page;
  };
  std::unordered_map<uint32_t, Kept> kept_;
};

}  // namespace Jet
