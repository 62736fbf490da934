#pragma once

#include "common/Value.h"
#include "tools/jetdump/CsvWriter.h"
#include "tools/jetdump/FieldText.h"

// How `jetdump export` writes one cell.
namespace JetDump {

// Null as an empty unquoted field, text quoted, Yes/No as 1 or 0, dates in full (FieldText.h),
// everything else as Value::ToText gives it (shortest numbers with '.', lowercase hex, braced ids).
void WriteCell(CsvWriter& csv, const Main::Value& value);

}  // namespace JetDump
