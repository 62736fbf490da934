#include <gtest/gtest.h>

#include "jet/JetError.h"
#include "jet/index/IndexPageCache.h"

namespace Jet {
namespace {

const IndexPageLayout& Jet4Pages() { return IndexPageLayoutOf(LayoutOf(FileFormat::Jet4)); }

std::vector<uint8_t> LeafBytes(uint8_t firstKey, size_t entries) {
  IndexPage page;
  page.owner = 2;
  for (size_t i = 0; i < entries; ++i)
    page.entries.push_back(IndexEntry{{firstKey, static_cast<uint8_t>(i)}, 5, static_cast<uint8_t>(i), 0});
  return EncodeIndexPage(page, Jet4Pages());
}

// A file of three 4 KB pages: page 1 an index leaf, page 2 zeros (not an index page).
std::vector<uint8_t> FileBytes() {
  std::vector<uint8_t> file(3 * 4096, 0);
  const std::vector<uint8_t> leaf = LeafBytes(0x10, 3);
  std::copy(leaf.begin(), leaf.end(), file.begin() + 4096);
  return file;
}

TEST(IndexPageCacheTest, KeepsADecodedPageUntilThePageFileServesOtherBytesForIt) {
  const std::vector<uint8_t> file = FileBytes();
  PageFile pages(file, 4096);
  IndexPageCache cache;
  const auto first = cache.Decode(pages, 1, Jet4Pages());
  ASSERT_EQ(first->entries.size(), 3u);
  EXPECT_EQ(first->entries[2].key, (std::vector<uint8_t>{0x10, 2}));
  EXPECT_EQ(cache.Decode(pages, 1, Jet4Pages()), first) << "an unchanged page is decoded once";

  pages.Replace(1, LeafBytes(0x20, 5));
  const auto rewritten = cache.Decode(pages, 1, Jet4Pages());
  ASSERT_EQ(rewritten->entries.size(), 5u);
  EXPECT_EQ(rewritten->entries[4].key, (std::vector<uint8_t>{0x20, 4}));
  EXPECT_EQ(first->entries.size(), 3u) << "a page handed out earlier stays as it was";

  pages.Replace(1, LeafBytes(0x30, 1));
  EXPECT_EQ(cache.Decode(pages, 1, Jet4Pages())->entries.at(0).key, (std::vector<uint8_t>{0x30, 0}));
}

TEST(IndexPageCacheTest, RefusesWhatTheDecoderRefusesAndStartsAgainWhenFull) {
  const std::vector<uint8_t> file = FileBytes();
  PageFile pages(file, 4096);
  IndexPageCache cache;
  EXPECT_THROW(cache.Decode(pages, 2, Jet4Pages()), JetError);
  EXPECT_THROW(cache.Decode(pages, 2, Jet4Pages()), JetError) << "a refused page is not kept";
  EXPECT_THROW(cache.Decode(pages, 3, Jet4Pages()), JetError);

  // Past its capacity the cache empties and decodes again, with the same result.
  std::vector<uint8_t> many((IndexPageCache::kCapacity + 2) * 4096, 0);
  for (size_t n = 1; n < IndexPageCache::kCapacity + 2; ++n) {
    const std::vector<uint8_t> leaf = LeafBytes(static_cast<uint8_t>(n), 1);
    std::copy(leaf.begin(), leaf.end(), many.begin() + static_cast<std::ptrdiff_t>(n * 4096));
  }
  PageFile big(many, 4096);
  const auto kept = cache.Decode(big, 1, Jet4Pages());
  for (uint32_t n = 2; n < IndexPageCache::kCapacity + 2; ++n)
    EXPECT_EQ(cache.Decode(big, n, Jet4Pages())->entries.at(0).key[0], static_cast<uint8_t>(n));
  const auto again = cache.Decode(big, 1, Jet4Pages());
  EXPECT_NE(again, kept) << "the first page was let go when the cache filled";
  EXPECT_EQ(again->entries.at(0).key, kept->entries.at(0).key);
}

}  // namespace
}  // namespace Jet
