#include "jet/text/TextEncoder.h"

#include <string>

namespace Jet {
namespace {

// Compression pays only for short texts; longer ones are stored as UCS-2, as Access does.
constexpr size_t kMaxCompressedCharacters = 1024;

bool FitsOneByteRun(char16_t c) { return c != 0 && c < 0x100; }

// Appends the compressed form to `out`; false (with `out` as it was) when the text cannot be
// compressed or would not be shorter than UCS-2.
bool AppendCompressed(std::u16string_view text, std::vector<uint8_t>& out) {
  const size_t start = out.size();
  // The most it can take: the marker, a run switch before each character and two bytes each.
  out.resize(start + 2 + 3 * text.size());
  uint8_t* to = out.data() + start;
  *to++ = 0xFF;
  *to++ = 0xFE;
  bool oneByteRun = true;
  for (const char16_t c : text) {
    if ((c & 0xFF) == 0) {
      out.resize(start);
      return false;
    }
    const bool oneByte = FitsOneByteRun(c);
    if (oneByte != oneByteRun) {
      *to++ = 0;
      oneByteRun = oneByte;
    }
    *to++ = static_cast<uint8_t>(c);
    if (!oneByte) *to++ = static_cast<uint8_t>(c >> 8);
  }
  const size_t size = static_cast<size_t>(to - (out.data() + start));
  if (size >= 2 * text.size()) {
    out.resize(start);
    return false;
  }
  out.resize(start + size);
  return true;
}

}  // namespace

void AppendUnicodeTextBytes(std::u16string_view text, bool compressible, std::vector<uint8_t>& out) {
  if (compressible && !text.empty() && text.size() <= kMaxCompressedCharacters && AppendCompressed(text, out))
    return;
  const size_t start = out.size();
  out.resize(start + 2 * text.size());
  uint8_t* to = out.data() + start;
  for (const char16_t c : text) {
    *to++ = static_cast<uint8_t>(c);
    *to++ = static_cast<uint8_t>(c >> 8);
  }
}

std::vector<uint8_t> EncodeUnicodeText(std::u16string_view text, bool compressible) {
  std::vector<uint8_t> out;
  AppendUnicodeTextBytes(text, compressible, out);
  return out;
}

}  // namespace Jet
