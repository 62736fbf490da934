#include "jet/text/TextCodec.h"

#include <cstring>

namespace Jet {

void TextCodec::Decode(ByteSpan stored, std::u16string& out) const {
  out.clear();
  if (codePage_)
    codePage_->Append(stored, out);
  else
    AppendUnicodeText(stored, out);
}

std::u16string TextCodec::Decode(ByteSpan stored) const {
  std::u16string text;
  Decode(stored, text);
  return text;
}

void AppendUcs2(ByteSpan bytes, std::u16string& out) {
  const size_t count = bytes.size() / 2;
  const size_t start = out.size();
  out.resize(start + count);
  char16_t* to = out.data() + start;
  for (size_t n = 0; n < count; ++n) to[n] = static_cast<char16_t>(bytes[2 * n] | (bytes[2 * n + 1] << 8));
}

void AppendUnicodeText(ByteSpan bytes, std::u16string& out) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    AppendUcs2(bytes, out);
    return;
  }
  // Every character takes at least one byte: size for the most, then cut to what was decoded.
  const size_t start = out.size();
  out.resize(start + bytes.size() - 2);
  char16_t* const first = out.data() + start;
  char16_t* to = first;
  const uint8_t* const data = bytes.data();
  const size_t size = bytes.size();
  size_t at = 2;
  while (at < size) {
    // A run of one-byte characters, up to the zero byte that switches to two-byte ones.
    const void* zero = std::memchr(data + at, 0, size - at);
    const size_t runEnd = zero != nullptr ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
    for (size_t n = at; n < runEnd; ++n) *to++ = data[n];
    at = runEnd + 1;
    // A run of two-byte characters, up to a zero byte in a character's first place.
    while (at < size && data[at] != 0) {
      if (at + 1 >= size) {
        at = size;  // a lone trailing byte of a two-byte run is dropped
        break;
      }
      *to++ = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
      at += 2;
    }
    ++at;
  }
  out.resize(start + static_cast<size_t>(to - first));
}

}  // namespace Jet
