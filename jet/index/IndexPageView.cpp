#include "jet/index/IndexPageView.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "jet/page/PageFormat.h"

namespace Jet {
namespace {

std::strong_ordering CompareBytes(ByteSpan a, ByteSpan b, size_t count) {
  const int order = count == 0 ? 0 : std::memcmp(a.data(), b.data(), count);
  return order <=> 0;
}

uint32_t BigEndian(ByteSpan bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value = (value << 8) | bytes[at + i];
  return value;
}

// Eight mask bytes as one word, the first byte lowest, so that bit k of the word is data offset k.
uint64_t MaskWord(ByteSpan mask, size_t at) {
  uint8_t bytes[8] = {};
  std::memcpy(bytes, mask.data() + at, std::min<size_t>(8, mask.size() - at));
  uint64_t word;
  std::memcpy(&word, bytes, 8);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t swapped = 0;
    for (size_t i = 0; i < 8; ++i) swapped |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    word = swapped;
  }
  return word;
}

}  // namespace

std::strong_ordering CompareKeys(const KeyParts& stored, ByteSpan key) {
  const size_t inHead = std::min(stored.head.size(), key.size());
  if (const auto order = CompareBytes(stored.head, key, inHead); order != 0) return order;
  if (key.size() <= stored.head.size()) return stored.size() <=> key.size();
  const ByteSpan rest = key.subspan(stored.head.size());
  if (const auto order = CompareBytes(stored.tail, rest, std::min(stored.tail.size(), rest.size())); order != 0)
    return order;
  return stored.tail.size() <=> rest.size();
}

size_t SharedKeyBytes(const KeyParts& a, const KeyParts& b) {
  const size_t shorter = std::min(a.size(), b.size());
  size_t shared = 0;
  while (shared < shorter && a[shared] == b[shared]) ++shared;
  return shared;
}

bool IndexPageView::Read(ByteSpan bytes, const IndexPageLayout& layout) {
  ends_.clear();
  if (bytes.size() != layout.pageSize) return false;
  const uint8_t type = bytes[0];
  if (type != kIndexNodePageType && type != kIndexLeafPageType) return false;
  leaf_ = type == kIndexLeafPageType;
  owner_ = ReadU32(bytes, kOwnerAt);
  previous_ = ReadU32(bytes, layout.previous);
  next_ = ReadU32(bytes, layout.next);
  tail_ = ReadU32(bytes, layout.tail);
  prefix_ = layout.prefixSize == 1 ? ReadU8(bytes, layout.prefix) : ReadU16(bytes, layout.prefix);

  const ByteSpan mask = Slice(bytes, layout.mask, layout.maskBytes);
  for (size_t at = 0; at < mask.size(); at += 8)
    for (uint64_t word = MaskWord(mask, at); word != 0; word &= word - 1) {
      const size_t end = at * 8 + static_cast<size_t>(std::countr_zero(word));
      if (end > layout.Capacity()) return false;
      ends_.push_back(static_cast<uint16_t>(end));
    }
  const size_t dataEnd = DataEnd();
  if (ReadU16(bytes, kFreeSpaceAt) != layout.pageSize - layout.dataStart - dataEnd) return false;
  data_ = Slice(bytes, layout.dataStart, dataEnd);
  if (ends_.empty()) return true;
  // The first entry holds its whole key and its row fields; every later one at least the row
  // fields after the prefix, which lies within the first entry's key.
  const size_t trailer = Trailer();
  if (ends_[0] < trailer || prefix_ > ends_[0] - trailer) return false;
  for (size_t i = 1; i < ends_.size(); ++i)
    if (static_cast<size_t>(ends_[i] - ends_[i - 1]) < trailer) return false;
  return true;
}

KeyParts IndexPageView::KeyOf(size_t i) const {
  const size_t start = StartOf(i);
  const ByteSpan own = data_.subspan(start, EndOf(i) - Trailer() - start);
  if (i == 0) return KeyParts{{}, own};
  return KeyParts{data_.subspan(0, prefix_), own};
}

uint32_t IndexPageView::RowPageOf(size_t i) const { return BigEndian(data_, EndOf(i) - Trailer(), 3); }

uint8_t IndexPageView::SlotOf(size_t i) const { return data_[EndOf(i) - Trailer() + 3]; }

uint32_t IndexPageView::ChildOf(size_t i) const { return BigEndian(data_, EndOf(i) - kIndexChildSize, 4); }

std::strong_ordering IndexPageView::Compare(size_t i, const IndexEntry& probe) const {
  if (const auto order = CompareKeys(KeyOf(i), probe.key); order != 0) return order;
  if (const uint32_t page = RowPageOf(i); page != probe.page) return page <=> probe.page;
  return SlotOf(i) <=> probe.slot;
}

size_t IndexPageView::LowerBound(const IndexEntry& probe) const {
  size_t low = 0;
  size_t high = Count();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (Compare(middle, probe) < 0)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

}  // namespace Jet
