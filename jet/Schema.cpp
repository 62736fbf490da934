#include "jet/Schema.h"

#include "jet/text/CaseFold.h"

namespace Jet {

std::u16string_view FormatName(FileFormat format) {
  switch (format) {
    case FileFormat::Jet3: return u"Jet3";
    case FileFormat::Jet4: return u"Jet4";
    case FileFormat::Ace12: return u"ACE12";
    case FileFormat::Ace14: return u"ACE14";
    case FileFormat::Ace15: return u"ACE15";
    case FileFormat::Ace16: return u"ACE16";
    case FileFormat::Ace17: return u"ACE17";
  }
  return u"";
}

int TableDefinition::FindColumn(std::u16string_view columnName) const {
  for (size_t n = 0; n < columns.size(); ++n)
    if (EqualIgnoringCase(columns[n].name, columnName)) return static_cast<int>(n);
  return -1;
}

int TableDefinition::FindColumnNumbered(uint16_t number) const {
  for (size_t n = 0; n < columns.size(); ++n)
    if (columns[n].number == number) return static_cast<int>(n);
  return -1;
}

}  // namespace Jet
