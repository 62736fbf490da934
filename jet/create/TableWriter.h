#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "jet/Creator.h"
#include "jet/row/RowEncoder.h"
#include "jet/schema/TableLayout.h"
#include "jet/longvalue/LongValueWriter.h"
#include "jet/file/PageSet.h"
#include "jet/usagemap/UsageMapWriter.h"

// Builds one table of a new database: reserves its definition pages and usage maps when made,
// fills data pages row after row, and writes the definition and the maps when finished.
namespace Jet::Create {

class TableWriter {
 public:
  // `table` has its columns planned; its usage maps are set here.
  TableWriter(PageSet& pages, UsageMapRows& maps, std::shared_ptr<TableLayout> table);

  uint32_t DefinitionPage() const { return definitionPages_.front(); }
  const TableDefinition& Definition() const { return *table_->definition; }

  // Adds a row (one value per column). AutoNumber columns number a Null 1, 2, 3 ... and carry on
  // after the largest number given. Throws JetError for a wrong value count, a value its column
  // cannot take or a row too long for a page; nothing of such a row is written.
  void Append(const Row& row);

  // Writes the definition (row count, last AutoNumber) and every usage map.
  void Finish();

 private:
  void PlaceRow(const std::vector<uint8_t>& bytes);
  Field LongValueField(size_t column, const Main::Value& value, size_t& roomInRow);

  PageSet& pages_;
  UsageMapRows& maps_;
  std::shared_ptr<TableLayout> table_;
  std::vector<uint32_t> definitionPages_;
  std::optional<RowEncoder> encoder_;
  std::vector<uint32_t> dataPages_;
  std::vector<std::optional<LongValueWriter>> longValues_;  // parallel to the columns
  std::vector<Field> fields_;  // reused between rows
  uint32_t rowCount_ = 0;
  int32_t lastAutoNumber_ = 0;
};

}  // namespace Jet::Create
