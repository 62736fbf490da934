#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/index/IndexFormat.h"

// An index page decoded into its entries, and encoded back, with the layout of IndexFormat.h.
namespace Jet {

// One index page as its entries; what the writer edits and the reader walks.
struct IndexPage {
  bool leaf = true;
  uint32_t owner = 0;  // the table definition's page
  uint32_t previous = 0;
  uint32_t next = 0;
  uint32_t tail = 0;  // node pages: the last child, which has no entry
  std::vector<IndexEntry> entries;
};

// Decodes page `number`. Throws kCorrupt for a page that is not an index page, an entry mask or a
// prefix that reaches past the data, an entry too short for its row (and child) fields, or a free
// space that disagrees with the data's end.
IndexPage DecodeIndexPage(ByteSpan bytes, uint32_t number, const IndexPageLayout& layout);

// The first child of a node page (its tail when it has no entries), read from the header and the
// first entry alone; none for a leaf. Throws kCorrupt for a page that is not an index page, a node
// page without children or a first entry that reaches past the data or is too short for a child.
std::optional<uint32_t> FirstChildOf(ByteSpan bytes, uint32_t number, const IndexPageLayout& layout);

// The bytes of the entries with the longest prefix they all share (the first and last entries'
// common key bytes): what EncodeIndexPage stores.
size_t EncodedEntriesSize(const IndexPage& page);
// Whether the page's entries fit one page.
bool FitsIndexPage(const IndexPage& page, const IndexPageLayout& layout);

// A whole page of `layout.pageSize` bytes. The page must fit (FitsIndexPage).
std::vector<uint8_t> EncodeIndexPage(const IndexPage& page, const IndexPageLayout& layout);

// The header fields of a page as EncodeIndexPage writes them, into `bytes` (a zeroed page): its
// kind, owner and links from `page` (its entries are not looked at), the prefix, and the free
// space left by `dataSize` bytes of entries. The entry ends go into the mask with MarkEntryEnd.
void PutIndexPageHeader(std::span<uint8_t> bytes, const IndexPage& page, size_t prefix, size_t dataSize,
                        const IndexPageLayout& layout);
void MarkEntryEnd(std::span<uint8_t> bytes, size_t end, const IndexPageLayout& layout);

}  // namespace Jet
