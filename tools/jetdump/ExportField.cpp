#include "tools/jetdump/ExportField.h"

namespace JetDump {

void WriteCell(CsvWriter& csv, const Main::Value& value) {
  using Kind = Main::Value::Kind;
  AsciiText text;
  switch (value.kind()) {
    case Kind::Null: csv.Unquoted({}); return;
    case Kind::Text: csv.Quoted(value.AsText()); return;
    case Kind::Integer: text.AppendShortest(value.AsInteger()); break;
    case Kind::Single: text.AppendShortest(value.AsSingle()); break;
    case Kind::Double: text.AppendShortest(value.AsDouble()); break;
    case Kind::Currency: text = CurrencyText(value.AsCurrency()); break;
    case Kind::Boolean: text.Append(value.AsBoolean() ? '1' : '0'); break;
    case Kind::DateTime: text = FullDateText(value.AsDateTime().oleDate); break;
    case Kind::ExtendedDateTime: text = FullExtendedDateText(value.AsExtendedDateTime()); break;
    case Kind::Guid: text = GuidText(value.AsGuid()); break;
    case Kind::Bytes: csv.Hex(value.AsBytes()); return;
    case Kind::Decimal: csv.Plain(value.ToText()); return;  // up to 29 digits; rare enough to take the heap
  }
  csv.Unquoted(text.View());
}

}  // namespace JetDump
