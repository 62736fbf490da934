#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/base/ByteReader.h"
#include "jet/text/CodePageTables.h"

// Jet3 text: bytes in the database's Windows code page, read and written.
namespace Jet {

struct CodePageConverters;

// The single-byte code pages of CodePageTables.h go through their tables; any other code page
// the system's iconv knows (the double-byte 932, 936, 949 and 950 among them) through iconv, one
// converter each way for the whole process. A code page iconv does not know either is read as
// 1252, and nothing can be written in it. Copies are cheap and share the converters.
class CodePageText {
 public:
  explicit CodePageText(uint16_t codePage);

  // The code page as the database names it.
  uint16_t CodePage() const { return codePage_; }
  // False for a code page read as 1252 because it is unknown: its text must not be written.
  bool Writable() const { return table_ != nullptr || converters_ != nullptr; }

  // Appends the text of `bytes`. A byte sequence the code page does not define (a lead byte
  // without its trail byte, a trail byte out of range) becomes U+FFFD and reading goes on with
  // the next byte.
  void Append(ByteSpan bytes, std::u16string& out) const;

  // The bytes of `text`. Throws JetError kTypeMismatch (cause kRecordValue) naming the first
  // character the code page cannot hold, including one iconv would store as another character
  // (Shift-JIS turns U+00A5 into a backslash). Must not be called when !Writable().
  std::vector<uint8_t> Encode(std::u16string_view text) const;

  // Whether `stored` reads as text that encodes back to the very same bytes: false for bytes the
  // code page does not define, and for characters the code page stores in two ways.
  bool RoundTrips(ByteSpan stored) const;

 private:
  // Appends the text of `bytes`; false when a sequence was not defined.
  bool AppendChecked(ByteSpan bytes, std::u16string& out) const;
  // The bytes of `text`, or false when a character does not convert.
  bool EncodeChecked(std::u16string_view text, std::vector<uint8_t>& out) const;
  [[noreturn]] void ThrowUnstorable(std::u16string_view text) const;

  uint16_t codePage_;
  const UpperHalf* table_ = nullptr;
  std::shared_ptr<const CodePageConverters> converters_;
};

}  // namespace Jet
