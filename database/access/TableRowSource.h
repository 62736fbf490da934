#pragma once

#include <memory>
#include <optional>
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
  TableRowSource(std::shared_ptr<const Jet::Database> database,
                 std::shared_ptr<const Jet::TableDefinition> table, std::vector<size_t> columns);

  size_t FieldCount() const override { return columns_.size(); }
  const std::u16string& FieldName(size_t field) const override;
  int FieldType(size_t field) const override;
  bool HasRecord(size_t index) override;
  size_t RecordCount() override;
  Main::Value Value(size_t index, size_t field) override;

  const Jet::TableDefinition& Table() const { return *table_; }
  size_t ColumnOf(size_t field) const { return columns_.at(field); }
  Jet::RowId RowIdOf(size_t index) const { return ids_.at(index); }
  // After a write the values are read afresh from the file.
  void Forget();

 private:
  bool FindNextRow();

  std::shared_ptr<const Jet::Database> database_;
  std::shared_ptr<const Jet::TableDefinition> table_;
  std::vector<size_t> columns_;
  std::unique_ptr<Jet::RowCursor> cursor_;
  std::vector<Jet::RowId> ids_;
  bool cursorOnLastId_ = false;  // the cursor stands on ids_.back()
  std::optional<size_t> cachedIndex_;
  std::vector<Main::Value> cachedRow_;
};

}  // namespace Access
