#pragma once

#include <string>

#include "common/Value.h"
#include "jet/Database.h"
#include "tests/jet/oracle/Csv.h"

// Compares one cell as `mdb-export -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' -b hex` (mdbtools
// 1.0) printed it with the value the engine read.
//
// How mdb-export prints, and how each form is compared:
// - Null, and also an empty text, as an empty unquoted field (it cannot tell them apart).
// - Yes/No as 1 or 0; Byte, Integer, Long Integer and complex ids as decimal integers.
// - Single with printf "%.8g", Double with "%.16lg": the value read is rounded the same way and
//   both are compared as numbers.
// - Currency with exactly four decimals, Decimal with `scale` decimals: compared exactly.
// - Dates through strftime; the value read is formatted the same way, rounded to the second.
// - OLE objects as uppercase hex of every byte.
// Where mdbtools 1.0 is wrong, the comparison follows what it demonstrably does:
// - Dates before 1899-12-30 (negative stored values) and after about year 2700: mdbtools
//   rejects them and formats a zeroed time structure, "1900-01-00 00:00:00"; the value read
//   must then lie outside that range.
// - Binary (not OLE) values pass through a C string, so mdbtools prints only the bytes before
//   the first zero byte, and a value starting with a zero byte as Null; the value read is cut at
//   its first zero byte before comparing.
// - Replication ids are formatted as text first, "{XXXXXXXX-XXXX-XXXX-XXXXXXXXXXXXXXXX}" (no
//   hyphen after the fourth group), and that text is then hex-encoded like binary; the printed
//   field is decoded and compared with the id in that form.
// - Jet3 text goes through iconv from code page 1252, which has no characters for the bytes
//   0x81, 0x8D, 0x8F, 0x90 and 0x9D; mdbtools prints '?' for them where Windows (and the engine)
//   reads U+0081, U+008D, U+008F, U+0090 and U+009D. In Jet3 files only, those five characters
//   of the value read are compared as '?'.
// - Types mdbtools 1.0 does not decode (Large Number 0x13 and codes unknown to it) print as
//   empty fields; such cells are not compared.
namespace Oracle {

// Whether mdbtools 1.0 decodes this column's values.
bool MdbToolsDecodes(const Jet::Column& column);

// How the printed field and the value read differ; empty when they agree.
std::string CellMismatch(const Jet::Column& column, const CsvField& printed,
                         const Main::Value& read, Jet::FileFormat format);

}  // namespace Oracle
