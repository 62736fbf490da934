#include "jet/longvalue/LongValueFormat.h"

#include <algorithm>

#include "jet/page/PageFormatWriter.h"
#include "jet/base/Failure.h"

namespace Jet {
LongValueHeader ReadLongValueHeader(ByteSpan stored) {
  const uint32_t word = ReadU32(stored, 0);
  LongValueHeader header;
  header.length = word & kLongValueLengthMask;
  if (word & kLongValueInline) return header;
  header.form = (word & kLongValueSingleRow) ? LongValueForm::kSingleRow : LongValueForm::kChain;
  header.first = ReadRowPointer(stored, 4);
  return header;
}

ByteSpan InlineLongValueBytes(ByteSpan stored, uint32_t length) {
  const ByteSpan value = stored.subspan(std::min(stored.size(), kLongValueHeaderSize));
  return value.first(std::min<size_t>(length, value.size()));
}

void RequireStorableLongValue(size_t bytes) {
  if (bytes > kLongValueLengthMask)
    ThrowNotSupported("A long value of 1 GB or more cannot be stored.", Main::ErrorCause::kRecordStorage);
}

std::vector<uint8_t> InlineLongValue(std::span<const uint8_t> data) {
  RequireStorableLongValue(data.size());
  std::vector<uint8_t> out;
  out.reserve(kLongValueHeaderSize + data.size());
  AppendU32(out, static_cast<uint32_t>(data.size()) | kLongValueInline);
  AppendU32(out, 0);
  AppendU32(out, 0);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<uint8_t> LongValueReference(uint32_t length, RowPointer first, bool singleRow) {
  std::vector<uint8_t> out;
  out.reserve(kLongValueHeaderSize);
  AppendU32(out, (length & kLongValueLengthMask) | (singleRow ? kLongValueSingleRow : 0));
  AppendRowPointer(out, first);
  AppendU32(out, 0);
  return out;
}

}  // namespace Jet
