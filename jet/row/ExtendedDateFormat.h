#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "common/ExtendedDateTime.h"
#include "jet/base/ByteReader.h"

// The stored form of a Date/Time Extended value (type 0x14), 42 ASCII bytes:
//
//   0  19  days since 0001-01-01, decimal digits
//   19  1  ':'
//   20 12  seconds since midnight, decimal digits
//   32  7  100-nanosecond units within the second, decimal digits
//   39  3  ':' '7' 0x00
//
// e.g. 2021-06-14 12:45:00 is "0000000000000737954:0000000459000000000:7\0". A Null value has
// its null mask bit clear (and zero bytes).
namespace Jet {

constexpr size_t kExtendedDateBytes = 42;

// The 42 bytes of a value in 0001-01-01 .. 9999-12-31 23:59:59.9999999 (the caller checks the
// range).
std::array<uint8_t, kExtendedDateBytes> EncodeExtendedDate(Main::ExtendedDateTime when);

// The value of stored bytes; nothing when they are not exactly 42 bytes of that form (a digit
// missing, a separator wrong, seconds past the day, a date past 9999-12-31).
std::optional<Main::ExtendedDateTime> DecodeExtendedDate(ByteSpan stored);

}  // namespace Jet
