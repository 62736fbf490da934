#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "jet/Creator.h"
#include "jet/create/IndexPages.h"
#include "jet/row/RowEncoder.h"
#include "jet/schema/TableLayout.h"
#include "jet/longvalue/LongValueWriter.h"
#include "jet/file/PageSet.h"
#include "jet/usagemap/UsageMapWriter.h"

// Builds one table of a new database: reserves its definition pages, usage maps and index root
// pages when made, fills data pages row after row, builds the indexes from the rows, and writes
// the definition and the maps when finished.
namespace Jet::Create {

class TableWriter {
 public:
  // `table` has its columns and indexes planned; its usage maps and index roots are set here.
  TableWriter(PageSet& pages, UsageMapRows& maps, std::shared_ptr<TableLayout> table);

  uint32_t DefinitionPage() const { return definitionPages_.front(); }
  const TableDefinition& Definition() const { return *table_->definition; }

  // Adds a row (one value per column). AutoNumber columns number a Null 1, 2, 3 ... and carry on
  // after the largest number given. Throws JetError for a wrong value count, a value its column
  // cannot take, a Null in a field of its primary key or a required index (3058) or a row too
  // long for a page; nothing of such a row is written.
  void Append(const Row& row);

  bool HasIndexes() const { return !table_->physicalIndexes.empty(); }
  // Writes the pages of every index from the rows, whose pages (with their long values) `rows`
  // reads; `format` is the file's. Throws 3022 when a unique index's rows repeat a key.
  void BuildIndexes(const PageFile& rows, const FormatLayout& format);

  // Writes the definition (row count, last AutoNumber, each index's distinct keys) and every
  // usage map.
  void Finish();

 private:
  void PlaceRow(const std::vector<uint8_t>& bytes);
  void RefuseNullInIndex(const Row& row) const;
  Field LongValueField(size_t column, const Main::Value& value, size_t& roomInRow);

  PageSet& pages_;
  UsageMapRows& maps_;
  std::shared_ptr<TableLayout> table_;
  std::vector<uint32_t> definitionPages_;
  std::optional<RowEncoder> encoder_;
  std::vector<uint32_t> dataPages_;
  std::vector<std::optional<LongValueWriter>> longValues_;  // parallel to the columns
  std::vector<Field> fields_;  // reused between rows
  std::vector<bool> refusesNull_;  // parallel to the columns: a field of a primary key or required index
  std::vector<RowPlace> placed_;  // every row, kept for building the indexes
  std::vector<BuiltIndex> indexes_;  // parallel to the physical indexes once built
  uint32_t rowCount_ = 0;
  int32_t lastAutoNumber_ = 0;
};

}  // namespace Jet::Create
