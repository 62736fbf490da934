#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "jet/base/Failure.h"

// Bounds-checked little-endian reads from a page or a record. A read that reaches past the end
// throws JetError kCorrupt; nothing here can read outside the span it is given.
namespace Jet {

using ByteSpan = std::span<const uint8_t>;

inline void RequireBytes(ByteSpan bytes, size_t offset, size_t length) {
  if (offset > bytes.size() || length > bytes.size() - offset)
    ThrowCorrupt("a field reaches past the end of its page or record");
}

inline ByteSpan Slice(ByteSpan bytes, size_t offset, size_t length) {
  RequireBytes(bytes, offset, length);
  return bytes.subspan(offset, length);
}

inline uint8_t ReadU8(ByteSpan bytes, size_t offset) {
  RequireBytes(bytes, offset, 1);
  return bytes[offset];
}

inline uint16_t ReadU16(ByteSpan bytes, size_t offset) {
  RequireBytes(bytes, offset, 2);
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

inline uint32_t ReadU24(ByteSpan bytes, size_t offset) {
  RequireBytes(bytes, offset, 3);
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16);
}

inline uint32_t ReadU32(ByteSpan bytes, size_t offset) {
  RequireBytes(bytes, offset, 4);
  return static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

inline uint64_t ReadU64(ByteSpan bytes, size_t offset) {
  return static_cast<uint64_t>(ReadU32(bytes, offset)) |
         (static_cast<uint64_t>(ReadU32(bytes, offset + 4)) << 32);
}

inline double ReadDouble(ByteSpan bytes, size_t offset) {
  const uint64_t bits = ReadU64(bytes, offset);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline float ReadFloat(ByteSpan bytes, size_t offset) {
  const uint32_t bits = ReadU32(bytes, offset);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace Jet
