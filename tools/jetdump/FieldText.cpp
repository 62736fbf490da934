#include "tools/jetdump/FieldText.h"

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"

namespace JetDump {
namespace {

// "%04lld-%02d-%02d %02d:%02d:%02d"
void AppendCivil(AsciiText& text, const Main::CivilDateTime& parts) {
  text.AppendPadded(parts.year, 4);
  text.Append('-');
  text.AppendPadded(parts.month, 2);
  text.Append('-');
  text.AppendPadded(parts.day, 2);
  text.Append(' ');
  text.AppendPadded(parts.hour, 2);
  text.Append(':');
  text.AppendPadded(parts.minute, 2);
  text.Append(':');
  text.AppendPadded(parts.second, 2);
}

void AppendHexByte(AsciiText& text, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  text.Append(kDigits[byte >> 4]);
  text.Append(kDigits[byte & 0x0F]);
}

}  // namespace

AsciiText FullDateText(double oleDate) {
  AsciiText text;
  AppendCivil(text, Main::CivilFromOleDate(oleDate));
  return text;
}

std::u16string FullDateTime(double oleDate) { return FullDateText(oleDate).Widened(); }

AsciiText FullExtendedDateText(Main::ExtendedDateTime when) {
  int64_t fraction = 0;
  AsciiText text;
  AppendCivil(text, Main::CivilFromExtended(when, fraction));
  text.Append('.');
  text.AppendPadded(fraction, 7);
  return text;
}

AsciiText CurrencyText(Main::Currency amount) {
  constexpr uint64_t kScale = 10'000;
  const bool negative = amount.tenThousandths < 0;
  // The magnitude without overflow for the smallest amount.
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(amount.tenThousandths)
                                      : static_cast<uint64_t>(amount.tenThousandths);
  AsciiText text;
  if (negative) text.Append('-');
  text.AppendShortest(magnitude / kScale);
  uint64_t fraction = magnitude % kScale;
  if (fraction == 0) return text;
  int digits = 4;
  for (; fraction % 10 == 0; fraction /= 10) --digits;
  text.Append('.');
  text.AppendPadded(static_cast<int64_t>(fraction), digits);
  return text;
}

AsciiText GuidText(const Main::Guid& id) {
  // The first three groups are stored little-endian.
  static constexpr int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  AsciiText text;
  text.Append('{');
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text.Append('-');
    AppendHexByte(text, id.bytes[static_cast<size_t>(kOrder[i])]);
  }
  text.Append('}');
  return text;
}

}  // namespace JetDump
