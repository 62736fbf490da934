#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "jet/base/ByteReader.h"
#include "jet/text/CodePageText.h"

// Turns stored text bytes into UTF-16: Jet4/ACE text is UCS-2, optionally in the compressed form;
// Jet3 text is in the database's code page (CodePageText).
namespace Jet {

class TextCodec {
 public:
  // Jet4/ACE text.
  TextCodec() = default;
  // Jet3 text in this Windows code page.
  explicit TextCodec(uint16_t codePage) : codePage_(codePage) {}

  // Replaces `out` with the text of `stored`, reusing out's storage.
  void Decode(ByteSpan stored, std::u16string& out) const;
  std::u16string Decode(ByteSpan stored) const;

 private:
  std::optional<CodePageText> codePage_;  // none: Jet4/ACE
};

// Appends UCS-2 little-endian text; an odd trailing byte is ignored.
void AppendUcs2(ByteSpan bytes, std::u16string& out);

// Appends Jet4 text that may be compressed. Compressed text starts with FF FE; after that, runs of
// one byte per character (the low byte of a character below U+0100) and runs of two bytes per
// character alternate, each 00 byte switching between them, starting with the one-byte runs.
void AppendUnicodeText(ByteSpan bytes, std::u16string& out);

}  // namespace Jet
