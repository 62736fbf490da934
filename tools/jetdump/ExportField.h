#pragma once

#include <string>

#include "common/Value.h"
#include "tools/jetdump/CsvWriter.h"

// How `jetdump export` writes one cell.
namespace JetDump {

// "YYYY-MM-DD HH:MM:SS", always with both parts (rounded to the second).
std::u16string FullDateTime(double oleDate);

// "YYYY-MM-DD HH:MM:SS.fffffff", always with both parts and all seven fraction digits.
std::u16string FullExtendedDateTime(Main::ExtendedDateTime when);

// Null as an empty unquoted field, text quoted, Yes/No as 1 or 0, dates in full, everything
// else as Value::ToText gives it (shortest numbers with '.', lowercase hex, braced ids).
void WriteCell(CsvWriter& csv, const Main::Value& value);

}  // namespace JetDump
