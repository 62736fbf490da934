#include "tools/jetdump/ExportField.h"

#include <cstdio>

#include "common/DateTime.h"
#include "common/ExtendedDateTime.h"

namespace JetDump {

std::u16string FullDateTime(double oleDate) {
  const Main::CivilDateTime parts = Main::CivilFromOleDate(oleDate);
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d %02d:%02d:%02d",
                                   static_cast<long long>(parts.year), parts.month, parts.day,
                                   parts.hour, parts.minute, parts.second);
  return std::u16string(buffer, buffer + length);
}

std::u16string FullExtendedDateTime(Main::ExtendedDateTime when) {
  int64_t fraction = 0;
  const Main::CivilDateTime parts = Main::CivilFromExtended(when, fraction);
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, "%04lld-%02d-%02d %02d:%02d:%02d.%07lld",
                                   static_cast<long long>(parts.year), parts.month, parts.day, parts.hour,
                                   parts.minute, parts.second, static_cast<long long>(fraction));
  return std::u16string(buffer, buffer + length);
}

void WriteCell(CsvWriter& csv, const Main::Value& value) {
  using Kind = Main::Value::Kind;
  switch (value.kind()) {
    case Kind::Text: csv.Quoted(value.AsText()); return;
    case Kind::Boolean: csv.Plain(value.AsBoolean() ? u"1" : u"0"); return;
    case Kind::DateTime: csv.Plain(FullDateTime(value.AsDateTime().oleDate)); return;
    case Kind::ExtendedDateTime: csv.Plain(FullExtendedDateTime(value.AsExtendedDateTime())); return;
    default: csv.Plain(value.ToText()); return;
  }
}

}  // namespace JetDump
