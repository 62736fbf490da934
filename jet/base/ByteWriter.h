#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

// Little-endian writes into pages and records, the counterpart of ByteReader.h, for the writer
// and the creator alike. Callers size every buffer before they write into it; these helpers do
// not check bounds.
namespace Jet {

using MutableBytes = std::span<uint8_t>;

inline void PutU8(MutableBytes bytes, size_t at, uint8_t value) { bytes[at] = value; }

// The low `size` bytes of `value`, least significant first.
inline void PutLittleEndian(MutableBytes bytes, size_t at, uint64_t value, size_t size) {
  for (size_t n = 0; n < size; ++n) bytes[at + n] = static_cast<uint8_t>(value >> (8 * n));
}

inline void PutU16(MutableBytes bytes, size_t at, uint16_t value) { PutLittleEndian(bytes, at, value, 2); }
inline void PutU24(MutableBytes bytes, size_t at, uint32_t value) { PutLittleEndian(bytes, at, value, 3); }
inline void PutU32(MutableBytes bytes, size_t at, uint32_t value) { PutLittleEndian(bytes, at, value, 4); }
inline void PutU64(MutableBytes bytes, size_t at, uint64_t value) { PutLittleEndian(bytes, at, value, 8); }

inline void PutDouble(MutableBytes bytes, size_t at, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU64(bytes, at, bits);
}

// Appending forms, for blocks whose length is found out as they are written.
inline void AppendLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, size_t size) {
  bytes.resize(bytes.size() + size);
  PutLittleEndian(bytes, bytes.size() - size, value, size);
}

inline void AppendU8(std::vector<uint8_t>& bytes, uint8_t value) { bytes.push_back(value); }
inline void AppendU16(std::vector<uint8_t>& bytes, uint16_t value) { AppendLittleEndian(bytes, value, 2); }
inline void AppendU32(std::vector<uint8_t>& bytes, uint32_t value) { AppendLittleEndian(bytes, value, 4); }

inline void AppendZeros(std::vector<uint8_t>& bytes, size_t count) { bytes.insert(bytes.end(), count, 0); }

}  // namespace Jet
