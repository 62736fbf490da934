#include "jet/index/RowKeys.h"

#include <algorithm>

#include "jet/base/Failure.h"
#include "jet/index/IndexKeyEncoder.h"

namespace Jet {
namespace {

// General 97 keys are made from Windows-1252 characters.
constexpr uint16_t kGeneral97CodePage = 1252;

bool IsText(ColumnType type) { return type == ColumnType::Text || type == ColumnType::Memo; }

}  // namespace

RowKeys::RowKeys(const PageFile& pages, const FormatLayout& format, uint16_t codePage, const TableLayout& table)
    : format_(format),
      table_(table),
      cp1252_(!format.jet3 || codePage == kGeneral97CodePage),
      codec_(format.jet3 ? TextCodec(codePage) : TextCodec()),
      values_(pages, format, codec_),
      decoder_(format, table) {}

RowKey RowKeys::KeyOf(const PhysicalIndexLayout& index, const std::vector<Cell>& cells) const {
  const std::vector<Column>& columns = table_.definition->columns;
  RowKey key;
  key.allNull = true;
  KeyValue value;
  for (const IndexColumn& indexColumn : index.columns) {
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const Column& column) {
      return column.number == indexColumn.columnNumber;
    });
    if (found == columns.end() || static_cast<size_t>(found - columns.begin()) >= cells.size())
      ThrowCorrupt("an index names the column number " + std::to_string(indexColumn.columnNumber) +
                   ", which the table at " + PageText(table_.definition->definitionPage) + " does not have");
    const Column& column = *found;
    const Cell& cell = cells[found - columns.begin()];
    if (column.calculated)
      ThrowNotSupported(u"The calculated field '" + column.name + u"' has no index key in this engine.",
                        Main::ErrorCause::kFieldCannotChange);
    value.null = column.type != ColumnType::Boolean && cell.null;
    value.flag = cell.flag;
    value.stored = cell.bytes;
    value.text.clear();
    if (IsText(column.type) && !cp1252_)
      ThrowNotSupported(u"The field '" + column.name + u"' holds text in a code page other than 1252; "
                        u"its index keys are not made by this engine.",
                        Main::ErrorCause::kFieldCannotChange);
    if (IsText(column.type) && !value.null) {
      values_.ReadText(column, cell, value.text);
      if (value.text.size() > kIndexedTextUnits) value.text.resize(kIndexedTextUnits);
    }
    key.allNull = key.allNull && value.null;
    key.anyNull = key.anyNull || value.null;
    AppendKeyColumn(key.bytes, column, indexColumn.ascending, value, format_);
  }
  return key;
}

RowKey RowKeys::KeyOf(const PhysicalIndexLayout& index, ByteSpan row) const {
  decoder_.Split(row, cells_);
  return KeyOf(index, cells_);
}

}  // namespace Jet
