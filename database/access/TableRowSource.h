#pragma once

#include <memory>
#include <vector>

#include "database/access/RowSource.h"
#include "jet/Database.h"

// The records of a table as a snapshot by row identity: the rows are found as the record set
// moves through them (or all at once when their number is asked), and each record stays the row
// it was found as. Reading the first records of a large table reads only their pages.
namespace Access {

class TableRowSource : public RowSource {
 public:
  // `columns`: positions in the table definition of the record set's fields, in field order.
  TableRowSource(std::shared_ptr<Jet::Database> database,
                 std::shared_ptr<const Jet::TableDefinition> table, std::vector<size_t> columns);

  size_t FieldCount() const override { return columns_.size(); }
  const std::u16string& FieldName(size_t field) const override;
  int FieldType(size_t field) const override;
  bool HasRecord(size_t index) override;
  size_t RecordCount() override;
  Main::Value Value(size_t index, size_t field) override;

  void Write(size_t index, size_t field, const Main::Value& value) override;
  void CheckText(size_t field, std::u16string_view text) const override;

 private:
  bool FindNextRow();

  std::shared_ptr<Jet::Database> database_;
  std::shared_ptr<const Jet::TableDefinition> table_;
  std::vector<size_t> columns_;
  std::unique_ptr<Jet::RowCursor> cursor_;
  std::vector<Jet::RowId> ids_;
  bool cursorOnLastId_ = false;  // the cursor stands on ids_.back()
};

// The position of the field with this name (ignoring case); throws naming the field and table.
size_t ColumnNamed(const Jet::TableDefinition& table, std::u16string_view field);

// The records of "SELECT * FROM `t`" or "SELECT `f` FROM `t`"; throws for any other statement,
// naming it, and for an unknown table or field.
std::unique_ptr<TableRowSource> SelectSource(const std::shared_ptr<Jet::Database>& database,
                                             std::u16string_view sql);

}  // namespace Access
