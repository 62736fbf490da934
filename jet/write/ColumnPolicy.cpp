#include "jet/write/ColumnPolicy.h"

#include "jet/base/Failure.h"

namespace Jet {

void CheckColumnWritable(const TableDefinition& table, size_t column) {
  const Column& field = table.columns.at(column);
  for (const Index& index : table.indexes)
    for (const IndexColumn& part : index.columns)
      if (part.columnNumber == field.number)
        ThrowNotSupported(u"The field '" + field.name + u"' is part of the index '" + index.name +
                              u"'; changing indexed fields is not supported yet.",
                          Main::ErrorCause::kFieldCannotChange);
  if (field.autonumber)
    ThrowNotSupported(u"The field '" + field.name + u"' is an AutoNumber field; it cannot be changed.",
                      Main::ErrorCause::kFieldCannotChange);
  if (field.calculated || field.type == ColumnType::Complex)
    ThrowNotSupported(
        u"The field '" + field.name + u"' is calculated or holds attachments or several values; it cannot be changed.",
        Main::ErrorCause::kFieldCannotChange);
}

}  // namespace Jet
