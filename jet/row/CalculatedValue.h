#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/Value.h"
#include "jet/base/ByteReader.h"
#include "jet/Schema.h"

// How a calculated column (Access 2010 and later) stores its result. The column's own type code
// is not the result's type: that is the column property ResultType. The stored value wraps the
// result:
//
//   0   16  not interpreted (written as zeros)
//   16   4  data length L
//   20   L  the result as its result type stores it (Decimal: below); L = 0 is Null
//   then 3  trailing bytes (written as zeros)
//
// Fixed-size and Decimal results take 39-byte columns, Text results their bytes + 23. A Memo
// result is an ordinary long value whose assembled bytes are the wrapper. A Boolean result is a
// byte of the wrapper (0xFF Yes, 0x00 No), not a null-mask bit.
//
// A Decimal result: 2 n (bytes that follow), 1 scale, 1 sign (non-zero: negative), then a
// magnitude of n - 2 bytes rounded down to a multiple of 4 (at most 16): when its length is not a
// multiple of 8 it starts with one 4-byte little-endian word, the rest are 8-byte little-endian
// words, most significant word first. Access writes n = 14: one 4-byte and one 8-byte word.
namespace Jet {

constexpr size_t kCalculatedWrapperSize = 23;    // the bytes a wrapper adds to its result
constexpr uint16_t kCalculatedFixedLength = 39;  // the column length of fixed-size and Decimal results

// The column type of a ResultType code; none for a code that is no result type.
std::optional<ColumnType> CalculatedResultType(uint8_t code);

// The result's bytes inside a stored wrapper (L of them, or fewer where the wrapper ends first);
// no bytes at all are an empty result. Throws kCorrupt for bytes too short to be a wrapper.
ByteSpan UnwrapCalculated(ByteSpan stored);
// The wrapper around `data`.
std::vector<uint8_t> WrapCalculated(ByteSpan data);

// A Decimal result's data read, bounds-checked (kCorrupt for too few bytes or a scale above 28).
Main::Decimal DecodeCalculatedDecimal(ByteSpan data);
// The data of a Decimal result (n = 14) from an ordinary stored Decimal (sign byte, four 32-bit
// words most significant first) at `scale`. Throws kOverflow for a magnitude beyond 96 bits.
std::vector<uint8_t> EncodeCalculatedDecimal(ByteSpan ordinary, uint8_t scale);

}  // namespace Jet
