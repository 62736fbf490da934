#include "jet/text/TextCodec.h"

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
  bool oneByteRun = true;
  size_t at = 2;
  while (at < bytes.size()) {
    if (bytes[at] == 0) {
      oneByteRun = !oneByteRun;
      ++at;
    } else if (oneByteRun) {
      *to++ = static_cast<char16_t>(bytes[at]);
      ++at;
    } else if (at + 1 < bytes.size()) {
      *to++ = static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
      at += 2;
    } else {
      break;  // a lone trailing byte of a two-byte run
    }
  }
  out.resize(start + static_cast<size_t>(to - first));
}

}  // namespace Jet
