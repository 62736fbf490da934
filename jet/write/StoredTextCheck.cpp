#include "jet/write/StoredTextCheck.h"

#include <string>
#include <vector>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/longvalue/LongValue.h"

namespace Jet {

void CheckStoredTextKept(const PageFile& pages, const FormatLayout& format, const CodePageText& text,
                         const Column& column, const Cell& cell) {
  if (!format.jet3 || cell.null || (column.type != ColumnType::Text && column.type != ColumnType::Memo)) return;
  std::vector<uint8_t> longValue;
  ByteSpan stored = cell.bytes;
  if (column.type == ColumnType::Memo) {
    LongValueReader(pages, format).Read(cell.bytes, longValue);
    stored = longValue;
  }
  if (text.RoundTrips(stored)) return;
  ThrowNotSupported(u"The field '" + column.name + u"' of this record holds bytes that are not text in code page " +
                        Main::FromUtf8(std::to_string(text.CodePage())) +
                        u" as stored; the record is left unchanged so that they are not lost.",
                    Main::ErrorCause::kRecordValue);
}

}  // namespace Jet
