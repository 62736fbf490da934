#include "database/access/TableRowSource.h"

#include "database/access/AdoDataType.h"

namespace Access {

TableRowSource::TableRowSource(std::shared_ptr<const Jet::Database> database,
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
  while (FindNextRow()) {
  }
  return ids_.size();
}

Main::Value TableRowSource::Value(size_t index, size_t field) {
  const size_t column = columns_.at(field);
  if (cursorOnLastId_ && index + 1 == ids_.size()) return cursor_->Get(column);
  if (cachedIndex_ != index) {
    cachedRow_ = database_->ReadRow(*table_, ids_.at(index));
    cachedIndex_ = index;
  }
  return cachedRow_.at(column);
}

void TableRowSource::Forget() {
  cursorOnLastId_ = false;
  cachedIndex_.reset();
}

}  // namespace Access
