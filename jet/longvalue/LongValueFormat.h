#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/page/DataPage.h"

// The header a row stores for a Memo or OLE object value, shared by the reader (LongValue.h), the
// writer's store (LongValueStore.h), the creator's writer (LongValueWriter.h) and the row encoder.
//
//   offset  size
//   0       4     bits 0-29 the value's length; bits 30-31 where the value is:
//                   0x80000000  inline: in the row, right after this header
//                   0x40000000  single row: the whole of one row of a long-value page
//                   0x00000000  chain: a chain of rows of long-value pages
//   4       4     row pointer (1-byte slot, 3-byte page) to that row or the chain's first row;
//                 0 for an inline value
//   8       4     unknown (0)
//   12      ..    the value itself when it is inline
//
// Each row of a chain starts with the row pointer of the next one (page 0 after the last) and
// holds the next piece of the value. Long-value pages are laid out like data pages, with "LVAL"
// where a data page names its table. The layout is the same in Jet3, Jet4 and ACE files.
namespace Jet {

constexpr uint32_t kLongValueLengthMask = 0x3FFFFFFF;
constexpr uint32_t kLongValueInline = 0x80000000;
constexpr uint32_t kLongValueSingleRow = 0x40000000;
constexpr size_t kLongValueHeaderSize = 12;
// The next-row pointer each row of a chain starts with.
constexpr size_t kLongValueChainPointerSize = 4;
// Values up to this many bytes are written inline (where the row has room).
constexpr size_t kLongValueMaxInline = 64;

enum class LongValueForm { kInline, kSingleRow, kChain };

// A header read back.
struct LongValueHeader {
  LongValueForm form = LongValueForm::kInline;
  uint32_t length = 0;
  RowPointer first;  // the row or the chain's first row; not read for an inline value
};

// Reads the header of `stored` (the column's bytes in the row); throws kCorrupt when they are too
// short for it.
LongValueHeader ReadLongValueHeader(ByteSpan stored);
// The bytes of an inline value that `stored` holds: at most `length`, fewer when the row ends first.
ByteSpan InlineLongValueBytes(ByteSpan stored, uint32_t length);

// Throws kNotSupported for a value of 1 GB or more, which no header can hold.
void RequireStorableLongValue(size_t bytes);
// The stored form of `data` inline: the header and the data.
std::vector<uint8_t> InlineLongValue(std::span<const uint8_t> data);
// The header of a value of `length` bytes that is the whole of the row at `first` (`singleRow`),
// else a chain starting there.
std::vector<uint8_t> LongValueReference(uint32_t length, RowPointer first, bool singleRow);

}  // namespace Jet
