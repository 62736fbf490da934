#include "jet/index/TextSortOrder.h"

#include <cstdio>

#include "common/Text.h"
#include "jet/base/Failure.h"

namespace Jet {
namespace {

// Version byte of a Jet4/ACE text column's collation.
constexpr uint8_t kLegacyVersion = 0;
constexpr uint8_t kGeneralVersion = 1;

[[noreturn]] void RefuseSortOrder(const Column& column, const FormatLayout& format) {
  char id[32];
  if (format.jet3)
    std::snprintf(id, sizeof id, "0x%04X", column.sortOrder);
  else
    std::snprintf(id, sizeof id, "0x%04X version %u", column.sortOrder, column.sortOrderVersion);
  ThrowNotSupported(u"The sort order " + Main::FromUtf8(id) + u" of the field '" + column.name +
                    u"' is not supported in indexes.");
}

}  // namespace

TextSortOrder TextSortOrderOf(const Column& column, const FormatLayout& format) {
  if (column.sortOrder != kGeneralCollation) RefuseSortOrder(column, format);
  if (format.jet3) return TextSortOrder::General97;
  if (column.sortOrderVersion == kLegacyVersion) return TextSortOrder::GeneralLegacy;
  if (column.sortOrderVersion == kGeneralVersion) return TextSortOrder::General;
  RefuseSortOrder(column, format);
}

}  // namespace Jet
