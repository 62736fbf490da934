#include "jet/write/ColumnPolicy.h"

#include <algorithm>

#include "common/Text.h"
#include "jet/base/Failure.h"
#include "jet/index/TextSortOrder.h"
#include "jet/schema/ColumnTypeName.h"

namespace Jet {
namespace {

// Whether the engine makes index keys for values of this type.
bool HasKeys(ColumnType type) { return IsKnownColumnType(type) && type != ColumnType::OleObject; }

bool Covers(const Index& index, uint16_t columnNumber) {
  return std::any_of(index.columns.begin(), index.columns.end(),
                     [&](const IndexColumn& part) { return part.columnNumber == columnNumber; });
}

// Refuses when the engine cannot make `column`'s part of the keys of `index`.
void CheckKeyable(const Column& column, const Index& index, const Column& changed, const FormatLayout& format) {
  const std::u16string part = u"The field '" + changed.name + u"' is part of the index '" + index.name + u"'";
  if (!HasKeys(column.type) || column.calculated)
    ThrowNotSupported(part + u", whose field '" + column.name + u"' has a type this engine makes no index keys for.",
                      Main::ErrorCause::kFieldCannotChange);
  if (column.type != ColumnType::Text && column.type != ColumnType::Memo) return;
  try {
    (void)TextSortOrderOf(column, format);
  } catch (const JetError& refusal) {
    ThrowNotSupported(part + u": " + refusal.Description(), Main::ErrorCause::kFieldCannotChange);
  }
}

}  // namespace

void CheckColumnWritable(const TableDefinition& table, size_t column, const FormatLayout& format) {
  const Column& field = table.columns.at(column);
  if (field.autonumber)
    ThrowNotSupported(u"The field '" + field.name + u"' is an AutoNumber field; it cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
  if (!IsKnownColumnType(field.type))
    ThrowNotSupported(u"The field '" + field.name + u"' has a type this engine does not know (" + ColumnTypeName(field) +
                          u"); it cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
  if (field.calculated)
    ThrowNotSupported(u"The field '" + field.name + u"' is calculated; Access computes its value.",
                      Main::ErrorCause::kFieldCannotChange);
  if (field.type == ColumnType::Complex)
    ThrowNotSupported(u"The field '" + field.name + u"' holds attachments or several values; it cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
  for (const Index& index : table.indexes) {
    if (!Covers(index, field.number)) continue;
    for (const IndexColumn& part : index.columns) {
      const int position = table.FindColumnNumbered(part.columnNumber);
      if (position < 0)
        ThrowCorrupt("the index '" + Main::ToUtf8(index.name) + "' names a column its table does not have");
      CheckKeyable(table.columns[static_cast<size_t>(position)], index, field, format);
    }
  }
}

}  // namespace Jet
