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
  out.reserve(out.size() + count);
  for (size_t n = 0; n < count; ++n)
    out.push_back(static_cast<char16_t>(bytes[2 * n] | (bytes[2 * n + 1] << 8)));
}

void AppendUnicodeText(ByteSpan bytes, std::u16string& out) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
    AppendUcs2(bytes, out);
    return;
  }
  out.reserve(out.size() + bytes.size() - 2);
  bool oneByteRun = true;
  size_t at = 2;
  while (at < bytes.size()) {
    if (bytes[at] == 0) {
      oneByteRun = !oneByteRun;
      ++at;
    } else if (oneByteRun) {
      out.push_back(static_cast<char16_t>(bytes[at]));
      ++at;
    } else if (at + 1 < bytes.size()) {
      out.push_back(static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8)));
      at += 2;
    } else {
      break;  // a lone trailing byte of a two-byte run
    }
  }
}

}  // namespace Jet
