#pragma once

#include <cstdint>
#include <string>

#include "jet/base/ByteReader.h"
#include "jet/text/CodePageTables.h"

// Turns stored text bytes into UTF-16: Jet4/ACE text is UCS-2, optionally in the compressed form;
// Jet3 text is in the database's single-byte code page.
namespace Jet {

class TextCodec {
 public:
  // Jet4/ACE text.
  TextCodec() = default;
  // Jet3 text in this Windows code page (1252 when the code page is not a known single-byte one).
  explicit TextCodec(uint16_t codePage);

  // Replaces `out` with the text of `stored`, reusing out's storage.
  void Decode(ByteSpan stored, std::u16string& out) const;
  std::u16string Decode(ByteSpan stored) const;

 private:
  const UpperHalf* codePage_ = nullptr;  // null: Jet4/ACE
};

// Appends UCS-2 little-endian text; an odd trailing byte is ignored.
void AppendUcs2(ByteSpan bytes, std::u16string& out);

// Appends Jet4 text that may be compressed. Compressed text starts with FF FE; after that, runs of
// one byte per character (the low byte of a character below U+0100) and runs of two bytes per
// character alternate, each 00 byte switching between them, starting with the one-byte runs.
void AppendUnicodeText(ByteSpan bytes, std::u16string& out);

// Appends single-byte text through a code page table (bytes below 0x80 are ASCII).
void AppendCodePageText(ByteSpan bytes, const UpperHalf& table, std::u16string& out);

}  // namespace Jet
