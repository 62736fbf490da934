#include "database/access/TableRowSource.h"

#include <algorithm>
#include <numeric>
#include <variant>

#include "database/access/AccessError.h"
#include "database/access/AdoDataType.h"
#include "database/access/Sql.h"

namespace Access {

TableRowSource::TableRowSource(std::shared_ptr<Jet::Database> database,
                               std::shared_ptr<const Jet::TableDefinition> table,
                               std::vector<size_t> columns)
    : database_(std::move(database)), table_(std::move(table)), columns_(std::move(columns)),
      cursor_(database_->Scan(table_)) {}

const std::u16string& TableRowSource::FieldName(size_t field) const {
  return table_->columns.at(columns_.at(field)).name;
}

int TableRowSource::FieldType(size_t field) const {
  return AdoDataTypeOf(table_->columns.at(columns_.at(field)));
}

bool TableRowSource::FindNextRow() {
  if (!cursor_) return false;
  if (!cursor_->Next()) {
    cursor_.reset();  // the scan is complete
    cursorOnLastId_ = false;
    return false;
  }
  ids_.push_back(cursor_->Id());
  cursorOnLastId_ = true;
  return true;
}

bool TableRowSource::HasRecord(size_t index) {
  while (ids_.size() <= index) {
    if (!FindNextRow()) return false;
  }
  return true;
}

size_t TableRowSource::RecordCount() {
  // The count the table's definition records sizes the snapshot (a damaged count only up to a
  // bound), so that a large table's identities are not copied as the list grows.
  constexpr size_t kMostReserved = size_t{1} << 22;
  if (cursor_) ids_.reserve(std::min<size_t>(table_->rowCount, kMostReserved));
  while (FindNextRow()) {
  }
  return ids_.size();
}

Main::Value TableRowSource::Value(size_t index, size_t field) {
  const size_t column = columns_.at(field);
  if (cursorOnLastId_ && index + 1 == ids_.size()) return cursor_->Get(column);
  return database_->ReadValue(*table_, ids_.at(index), column);
}

void TableRowSource::Write(size_t index, size_t field, const Main::Value& value) {
  const size_t column = columns_.at(field);
  const Jet::RowId row = ids_.at(index);
  // The row is read afresh after the write: it may have moved, and the cursor's view is old.
  cursorOnLastId_ = false;
  if (value.kind() == Main::Value::Kind::Text) {
    database_->UpdateText(*table_, row, column, value.AsText());
  } else {
    database_->UpdateValue(*table_, row, column, value);
  }
}

void TableRowSource::CheckText(size_t field, std::u16string_view text) const {
  database_->CheckText(*table_, columns_.at(field), text);
}

size_t ColumnNamed(const Jet::TableDefinition& table, std::u16string_view field) {
  const int column = table.FindColumn(field);
  if (column < 0) {
    Fail(AccessErrorNumber::kItemNotFound, u"The field '" + std::u16string(field) +
                                               u"' does not exist in the table '" + table.name + u"'.");
  }
  return static_cast<size_t>(column);
}

std::unique_ptr<TableRowSource> SelectSource(const std::shared_ptr<Jet::Database>& database,
                                             std::u16string_view sql) {
  const Statement statement = ParseStatement(sql);
  std::vector<size_t> columns;
  std::shared_ptr<const Jet::TableDefinition> table;
  if (const auto* all = std::get_if<SelectAll>(&statement)) {
    table = database->Table(all->table);
    columns.resize(table->columns.size());
    std::iota(columns.begin(), columns.end(), size_t{0});
  } else if (const auto* one = std::get_if<SelectField>(&statement)) {
    table = database->Table(one->table);
    columns.push_back(ColumnNamed(*table, one->field));
  } else {
    Fail(kSyntaxErrorNumber, u"The statement returns no records: " + std::u16string(sql));
  }
  return std::make_unique<TableRowSource>(database, std::move(table), std::move(columns));
}

}  // namespace Access
