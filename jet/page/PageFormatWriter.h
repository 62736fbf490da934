#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "jet/base/ByteWriter.h"
#include "jet/page/PageFormat.h"

// Writes the parts of a data page that more than one writer makes: the start of its header and
// row pointers, laid out as PageFormat.h shows.
namespace Jet {

// Writes the page type, its mark and the owning table's definition page into a zeroed header.
inline void PutDataPageStart(MutableBytes page, uint32_t owner) {
  PutU8(page, 0, kDataPageType);
  PutU8(page, kDataPageMarkAt, kDataPageMark);
  PutU32(page, kOwnerAt, owner);
}

// The same for a long-value page, whose owner bytes read "LVAL".
inline void PutLongValuePageStart(MutableBytes page) {
  PutDataPageStart(page, 0);
  std::memcpy(page.data() + kOwnerAt, kLongValueMark, sizeof kLongValueMark);
}

inline void PutRowPointer(MutableBytes bytes, size_t at, uint32_t page, uint16_t slot) {
  PutU8(bytes, at, static_cast<uint8_t>(slot));
  PutU24(bytes, at + 1, page);
}

inline void AppendRowPointer(std::vector<uint8_t>& bytes, RowPointer where) {
  bytes.resize(bytes.size() + kRowPointerSize);
  PutRowPointer(bytes, bytes.size() - kRowPointerSize, where.page, where.slot);
}

inline std::vector<uint8_t> RowPointerBytes(RowPointer where) {
  std::vector<uint8_t> bytes;
  AppendRowPointer(bytes, where);
  return bytes;
}

}  // namespace Jet
