#include "jet/text/TextEncoder.h"

#include <string>

#include "common/Error.h"
#include "common/Text.h"
#include "jet/base/Failure.h"

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

std::vector<uint8_t> EncodeCodePageText(std::u16string_view text, const UpperHalf& table,
                                        uint16_t codePage) {
  std::vector<uint8_t> out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<uint8_t>(c));
      continue;
    }
    size_t found = 0;
    while (found < table.size() && table[found] != c) ++found;
    if (found == table.size())
      ThrowTypeMismatch(u"The character '" + std::u16string(1, c) +
                            u"' cannot be stored in this database, whose text is in code page " +
                            Main::FromUtf8(std::to_string(codePage)) + u".",
                        Main::ErrorCause::kRecordValue);
    out.push_back(static_cast<uint8_t>(0x80 + found));
  }
  return out;
}

}  // namespace Jet
