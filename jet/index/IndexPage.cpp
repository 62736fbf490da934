#include "jet/index/IndexPage.h"

#include <algorithm>
#include <bit>

#include "jet/base/ByteWriter.h"
#include "jet/page/PageFormat.h"

namespace Jet {
namespace {

constexpr uint8_t kNodeFlag = 0x01;

uint32_t ReadBigEndian(ByteSpan bytes, size_t at, size_t size) {
  RequireBytes(bytes, at, size);
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

void AppendBigEndian(std::vector<uint8_t>& bytes, uint32_t value, size_t size) {
  for (size_t i = size; i-- > 0;) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

[[noreturn]] void ThrowBadIndexPage(uint32_t number, std::string_view what) {
  ThrowCorrupt("index " + PageText(number) + " " + std::string(what));
}

// The offsets where the page's entries end, in order, from its entry-end mask.
std::vector<size_t> EntryEnds(ByteSpan mask) {
  std::vector<size_t> ends;
  for (size_t byte = 0; byte < mask.size(); ++byte)
    for (size_t bit = 0; mask[byte] >> bit != 0; ++bit)
      if ((mask[byte] >> bit) & 1) ends.push_back(byte * 8 + bit);
  return ends;
}

IndexEntry SplitEntry(std::vector<uint8_t> whole, bool node, uint32_t number) {
  const size_t trailer = kIndexRowSize + (node ? kIndexChildSize : 0);
  if (whole.size() < trailer) ThrowBadIndexPage(number, "holds an entry too short for its row");
  IndexEntry entry;
  const size_t keySize = whole.size() - trailer;
  entry.page = ReadBigEndian(whole, keySize, 3);
  entry.slot = whole[keySize + 3];
  if (node) entry.child = ReadBigEndian(whole, keySize + kIndexRowSize, 4);
  whole.resize(keySize);
  entry.key = std::move(whole);
  return entry;
}

// The key bytes every entry of the page shares: the common prefix of its first and last keys
// (the entries are in order, so every entry between them shares it too).
size_t SharedPrefix(const std::vector<IndexEntry>& entries) {
  if (entries.size() < 2) return 0;
  const auto& first = entries.front().key;
  const auto& last = entries.back().key;
  const auto [a, b] = std::mismatch(first.begin(), first.end(), last.begin(), last.end());
  return static_cast<size_t>(a - first.begin());
}

void AppendEntry(std::vector<uint8_t>& data, const IndexEntry& entry, bool node, size_t skip) {
  data.insert(data.end(), entry.key.begin() + static_cast<std::ptrdiff_t>(skip), entry.key.end());
  AppendBigEndian(data, entry.page, 3);
  data.push_back(entry.slot);
  if (node) AppendBigEndian(data, entry.child, 4);
}

}  // namespace

IndexPage DecodeIndexPage(ByteSpan bytes, uint32_t number, const IndexPageLayout& layout) {
  if (bytes.size() != layout.pageSize) ThrowBadIndexPage(number, "has the wrong size");
  const uint8_t type = ReadU8(bytes, 0);
  if (type != kIndexNodePageType && type != kIndexLeafPageType)
    ThrowBadIndexPage(number, "is not an index page");
  IndexPage page;
  page.leaf = type == kIndexLeafPageType;
  page.owner = ReadU32(bytes, kOwnerAt);
  page.previous = ReadU32(bytes, layout.previous);
  page.next = ReadU32(bytes, layout.next);
  page.tail = ReadU32(bytes, layout.tail);
  const size_t prefix = layout.prefixSize == 1 ? ReadU8(bytes, layout.prefix) : ReadU16(bytes, layout.prefix);

  const std::vector<size_t> ends = EntryEnds(Slice(bytes, layout.mask, layout.maskBytes));
  const size_t dataEnd = ends.empty() ? 0 : ends.back();
  if (dataEnd > layout.Capacity()) ThrowBadIndexPage(number, "has entries past its end");
  if (ReadU16(bytes, kFreeSpaceAt) != layout.pageSize - layout.dataStart - dataEnd)
    ThrowBadIndexPage(number, "has a free space that disagrees with its entries");
  const ByteSpan data = Slice(bytes, layout.dataStart, dataEnd);
  const bool node = !page.leaf;
  size_t start = 0;
  ByteSpan first;  // the first entry, stored whole; later entries take its first `prefix` bytes
  page.entries.reserve(ends.size());
  for (const size_t end : ends) {
    if (end <= start) ThrowBadIndexPage(number, "has an empty entry");
    std::vector<uint8_t> whole;
    whole.reserve(end - start + (start == 0 ? 0 : prefix));
    if (start == 0) {
      first = data.subspan(0, end);
    } else {
      if (prefix > first.size()) ThrowBadIndexPage(number, "has a prefix longer than its first entry");
      whole.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(prefix));
    }
    whole.insert(whole.end(), data.begin() + static_cast<std::ptrdiff_t>(start),
                 data.begin() + static_cast<std::ptrdiff_t>(end));
    page.entries.push_back(SplitEntry(std::move(whole), node, number));
    start = end;
  }
  return page;
}

std::optional<uint32_t> FirstChildOf(ByteSpan bytes, uint32_t number, const IndexPageLayout& layout) {
  if (bytes.size() != layout.pageSize) ThrowBadIndexPage(number, "has the wrong size");
  const uint8_t type = ReadU8(bytes, 0);
  if (type == kIndexLeafPageType) return std::nullopt;
  if (type != kIndexNodePageType) ThrowBadIndexPage(number, "is not an index page");
  const ByteSpan mask = Slice(bytes, layout.mask, layout.maskBytes);
  const auto byte = std::find_if(mask.begin(), mask.end(), [](uint8_t bits) { return bits != 0; });
  if (byte == mask.end()) {
    const uint32_t tail = ReadU32(bytes, layout.tail);
    if (tail == 0) ThrowBadIndexPage(number, "is a node page without children");
    return tail;
  }
  const size_t end = static_cast<size_t>(byte - mask.begin()) * 8 + static_cast<size_t>(std::countr_zero(*byte));
  if (end > layout.Capacity()) ThrowBadIndexPage(number, "has entries past its end");
  if (end < kIndexRowSize + kIndexChildSize) ThrowBadIndexPage(number, "holds an entry too short for its row");
  return ReadBigEndian(bytes, layout.dataStart + end - kIndexChildSize, kIndexChildSize);
}

size_t EncodedEntriesSize(const IndexPage& page) {
  const size_t prefix = SharedPrefix(page.entries);
  size_t size = 0;
  for (const IndexEntry& entry : page.entries) size += entry.StoredSize(!page.leaf);
  return page.entries.empty() ? 0 : size - prefix * (page.entries.size() - 1);
}

bool FitsIndexPage(const IndexPage& page, const IndexPageLayout& layout) {
  const size_t prefixLimit = layout.prefixSize == 1 ? 0xFF : 0xFFFF;
  return EncodedEntriesSize(page) <= layout.Capacity() && SharedPrefix(page.entries) <= prefixLimit;
}

std::vector<uint8_t> EncodeIndexPage(const IndexPage& page, const IndexPageLayout& layout) {
  const bool node = !page.leaf;
  size_t prefix = SharedPrefix(page.entries);
  if (layout.prefixSize == 1) prefix = std::min<size_t>(prefix, 0xFF);
  std::vector<uint8_t> data;
  std::vector<size_t> ends;
  for (size_t i = 0; i < page.entries.size(); ++i) {
    AppendEntry(data, page.entries[i], node, i == 0 ? 0 : prefix);
    ends.push_back(data.size());
  }
  if (data.size() > layout.Capacity()) ThrowCorrupt("an index page was given more entries than it holds");

  std::vector<uint8_t> bytes(layout.pageSize, 0);
  PutIndexPageHeader(bytes, page, prefix, data.size(), layout);
  for (const size_t end : ends) MarkEntryEnd(bytes, end, layout);
  std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(layout.dataStart));
  return bytes;
}

void PutIndexPageHeader(std::span<uint8_t> bytes, const IndexPage& page, size_t prefix, size_t dataSize,
                        const IndexPageLayout& layout) {
  PutU8(bytes, 0, page.leaf ? kIndexLeafPageType : kIndexNodePageType);
  PutU8(bytes, kDataPageMarkAt, kDataPageMark);
  PutU16(bytes, kFreeSpaceAt, static_cast<uint16_t>(layout.pageSize - layout.dataStart - dataSize));
  PutU32(bytes, kOwnerAt, page.owner);
  PutU32(bytes, layout.previous, page.previous);
  PutU32(bytes, layout.next, page.next);
  PutU32(bytes, layout.tail, page.tail);
  if (layout.prefixSize == 1)
    PutU8(bytes, layout.prefix, static_cast<uint8_t>(prefix));
  else
    PutU16(bytes, layout.prefix, static_cast<uint16_t>(prefix));
  PutU8(bytes, layout.nodeFlag, page.leaf ? 0 : kNodeFlag);
}

void MarkEntryEnd(std::span<uint8_t> bytes, size_t end, const IndexPageLayout& layout) {
  bytes[layout.mask + end / 8] |= static_cast<uint8_t>(1u << (end % 8));
}

}  // namespace Jet
