#pragma once

#include <string>
#include <vector>

#include "common/Value.h"
#include "jet/longvalue/LongValue.h"
#include "jet/row/RowDecoder.h"
#include "jet/text/TextCodec.h"

// Turns a column's stored bytes into a Main::Value, or text into a caller's buffer.
namespace Jet {

class ValueReader {
 public:
  ValueReader(const PageFile& pages, const FormatLayout& layout, const TextCodec& codec)
      : longValues_(pages, layout), codec_(codec) {}

  Main::Value Read(const Column& column, const Cell& cell) const;
  // Text and Memo (and Hyperlink) decoded into `out`; other types as Value::ToText gives them.
  // False for Null.
  bool ReadText(const Column& column, const Cell& cell, std::u16string& out) const;

 private:
  // The bytes that hold the value: a long value fetched, a calculated column's result unwrapped
  // (after fetching: a Memo result's long value is the wrapper).
  ByteSpan Payload(const Column& column, const Cell& cell) const;
  // A non-null value of the column's type from the bytes that hold it.
  Main::Value Decode(const Column& column, ByteSpan bytes) const;
  // A calculated column's result from its unwrapped data (an unknown result type, Binary: the
  // stored bytes): no data is Null, No for Yes/No and empty text; a result shorter than its type
  // throws kCorrupt naming the field.
  Main::Value ReadCalculated(const Column& column, ByteSpan data) const;

  LongValueReader longValues_;
  const TextCodec& codec_;
  mutable std::vector<uint8_t> longValue_;  // reused for every long value read
};

// Stored numbers: Currency is a 64-bit count of ten-thousandths; Decimal is a sign byte (non-zero:
// negative) and a 128-bit magnitude as four little-endian 32-bit words, most significant first.
Main::Currency DecodeCurrency(ByteSpan stored);
Main::Decimal DecodeDecimal(ByteSpan stored, uint8_t scale);

}  // namespace Jet
