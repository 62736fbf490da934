#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// Little-endian writes into pages and records, the counterpart of ByteReader.h. The creator sizes
// every buffer before it writes into it; these helpers do not check bounds.
namespace Jet::Create {

using MutableBytes = std::span<uint8_t>;

inline void PutU8(MutableBytes bytes, size_t at, uint8_t value) { bytes[at] = value; }

inline void PutU16(MutableBytes bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutU24(MutableBytes bytes, size_t at, uint32_t value) {
  for (size_t n = 0; n < 3; ++n) bytes[at + n] = static_cast<uint8_t>(value >> (8 * n));
}

inline void PutU32(MutableBytes bytes, size_t at, uint32_t value) {
  for (size_t n = 0; n < 4; ++n) bytes[at + n] = static_cast<uint8_t>(value >> (8 * n));
}

inline void PutU64(MutableBytes bytes, size_t at, uint64_t value) {
  for (size_t n = 0; n < 8; ++n) bytes[at + n] = static_cast<uint8_t>(value >> (8 * n));
}

inline void PutDouble(MutableBytes bytes, size_t at, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU64(bytes, at, bits);
}

// Appending forms, for blocks whose length is found out as they are written.
inline void AppendU8(std::vector<uint8_t>& bytes, uint8_t value) { bytes.push_back(value); }

inline void AppendU16(std::vector<uint8_t>& bytes, uint16_t value) {
  bytes.push_back(static_cast<uint8_t>(value));
  bytes.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendU32(std::vector<uint8_t>& bytes, uint32_t value) {
  for (size_t n = 0; n < 4; ++n) bytes.push_back(static_cast<uint8_t>(value >> (8 * n)));
}

inline void AppendZeros(std::vector<uint8_t>& bytes, size_t count) { bytes.insert(bytes.end(), count, 0); }

// A row pointer as tables and long values store it: one byte slot, then a three-byte page.
inline void PutRowPointer(MutableBytes bytes, size_t at, uint32_t page, uint16_t slot) {
  PutU8(bytes, at, static_cast<uint8_t>(slot));
  PutU24(bytes, at + 1, page);
}

}  // namespace Jet::Create
