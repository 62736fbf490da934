#pragma once

#include <string>

#include "common/Value.h"
#include "tools/jetdump/AsciiText.h"

// The texts `jetdump export` gives values that are not text, built without the heap.
namespace JetDump {

// "YYYY-MM-DD HH:MM:SS", always with both parts (rounded to the second).
AsciiText FullDateText(double oleDate);
std::u16string FullDateTime(double oleDate);

// "YYYY-MM-DD HH:MM:SS.fffffff", always with both parts and all seven fraction digits.
AsciiText FullExtendedDateText(Main::ExtendedDateTime when);

// As Main::FormatCurrency gives it: up to four decimals, trailing zeros dropped, '.' as point.
AsciiText CurrencyText(Main::Currency amount);

// As Main::FormatGuid gives it: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, uppercase.
AsciiText GuidText(const Main::Guid& id);

}  // namespace JetDump
