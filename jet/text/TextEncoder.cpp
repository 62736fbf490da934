#include "jet/text/TextEncoder.h"

#include <string>

namespace Jet {
namespace {

// Compression pays only for short texts; longer ones are stored as UCS-2, as Access does.
constexpr size_t kMaxCompressedCharacters = 1024;

bool FitsOneByteRun(char16_t c) { return c != 0 && c < 0x100; }

// The compressed form, or an empty vector when the text cannot be compressed.
std::vector<uint8_t> Compressed(std::u16string_view text) {
  std::vector<uint8_t> out{0xFF, 0xFE};
  out.reserve(text.size() + 2);
  bool oneByteRun = true;
  for (const char16_t c : text) {
    if ((c & 0xFF) == 0) return {};
    const bool oneByte = FitsOneByteRun(c);
    if (oneByte != oneByteRun) {
      out.push_back(0);
      oneByteRun = oneByte;
    }
    out.push_back(static_cast<uint8_t>(c));
    if (!oneByte) out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeUnicodeText(std::u16string_view text, bool compressible) {
  if (compressible && !text.empty() && text.size() <= kMaxCompressedCharacters) {
    std::vector<uint8_t> compressed = Compressed(text);
    if (!compressed.empty() && compressed.size() < 2 * text.size()) return compressed;
  }
  std::vector<uint8_t> out;
  out.reserve(2 * text.size());
  for (const char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  return out;
}

}  // namespace Jet
