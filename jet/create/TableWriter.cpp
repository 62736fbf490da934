#include "jet/create/TableWriter.h"

#include <algorithm>

#include "jet/file/FormatLayout.h"
#include "jet/base/Failure.h"
#include "jet/create/CalculatedColumns.h"
#include "jet/create/ColumnPlan.h"
#include "jet/create/IndexPlan.h"
#include "jet/file/HeaderWriter.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/page/RowPage.h"
#include "jet/schema/TableDefinitionWriter.h"

namespace Jet::Create {

TableWriter::TableWriter(PageSet& pages, UsageMapRows& maps, std::shared_ptr<TableLayout> table)
    : pages_(pages), maps_(maps), table_(std::move(table)) {
  const TableDefinition& definition = *table_->definition;
  for (size_t n = 0; n < definition.columns.size(); ++n) {
    if (IsLongValue(definition.columns[n].type)) {
      longValues_.emplace_back(std::in_place, pages_);
      table_->columnUsageMaps.push_back(ColumnUsageMaps{definition.columns[n].number, {}, {}});
    } else {
      longValues_.emplace_back();
    }
  }
  // The definition's size does not depend on where its maps are, so its pages come first.
  const size_t definitionSize = EncodeTableDefinition(*table_, 0, 0).size();
  for (size_t n = DefinitionPageCount(definitionSize, pages_.PageSize()); n > 0; --n)
    definitionPages_.push_back(pages_.Allocate());
  table_->ownedPages = maps_.Reserve();
  table_->freeSpacePages = maps_.Reserve();
  for (ColumnUsageMaps& columnMaps : table_->columnUsageMaps) {
    columnMaps.ownedPages = maps_.Reserve();
    columnMaps.freeSpacePages = maps_.Reserve();
  }
  refusesNull_.assign(definition.columns.size(), false);
  for (PhysicalIndexLayout& index : table_->physicalIndexes) {
    index.ownedPages = maps_.Reserve();
    index.firstPage = pages_.Allocate();
    if (RefusesNull(index))
      for (const IndexColumn& column : index.columns) refusesNull_[column.columnNumber] = true;
  }
  auto definitionWithPage = std::make_shared<TableDefinition>(definition);
  definitionWithPage->definitionPage = DefinitionPage();
  table_->definition = std::move(definitionWithPage);
  encoder_.emplace(CreatorLayout(), *table_);
}

Field TableWriter::LongValueField(size_t column, const Main::Value& value, size_t& roomInRow) {
  if (value.IsNull()) return value;
  const Column& definition = table_->definition->columns[column];
  const ColumnLayout& place = table_->columns[column];
  const std::vector<uint8_t> data = definition.calculated ? WrappedResult(encoder_->Values(), definition, place, value)
                                                          : encoder_->Values().Encode(definition, place, value);
  std::vector<uint8_t> stored = longValues_[column]->Store(data, roomInRow);
  roomInRow -= std::min(roomInRow, stored.size() - kLongValueHeaderSize);
  return StoredField{std::move(stored)};
}

void TableWriter::RefuseNullInIndex(const Row& row) const {
  const std::vector<Column>& columns = table_->definition->columns;
  for (size_t n = 0; n < columns.size(); ++n)
    // An AutoNumber numbers a Null; a Null Yes/No is No.
    if (refusesNull_[n] && row[n].IsNull() && !columns[n].autonumber && columns[n].type != ColumnType::Boolean)
      ThrowNullInIndex();
}

void TableWriter::Append(const Row& row) {
  const std::vector<Column>& columns = table_->definition->columns;
  if (row.size() != columns.size())
    ThrowNoSuchColumn(u"A row of the table '" + table_->definition->name + u"' has " +
                      Main::FormatInteger(static_cast<int64_t>(row.size())) + u" values for " +
                      Main::FormatInteger(static_cast<int64_t>(columns.size())) + u" fields.");
  RefuseNullInIndex(row);
  int32_t lastAutoNumber = lastAutoNumber_;
  bool hasLongValues = false;
  fields_.clear();
  for (size_t n = 0; n < columns.size(); ++n) {
    if (longValues_[n] && !row[n].IsNull()) {
      // Measured first with a reference in its place; placed once the rest of the row is known.
      fields_.emplace_back(StoredField{std::vector<uint8_t>(kLongValueHeaderSize, 0)});
      hasLongValues = true;
    } else if (columns[n].calculated) {
      fields_.emplace_back(CalculatedField(encoder_->Values(), columns[n], table_->columns[n], row[n]));
    } else if (columns[n].autonumber && row[n].IsNull()) {
      fields_.emplace_back(Main::Value::Integer(++lastAutoNumber));
    } else {
      fields_.emplace_back(row[n]);
      if (columns[n].autonumber && row[n].kind() == Main::Value::Kind::Integer)
        lastAutoNumber = static_cast<int32_t>(std::clamp<int64_t>(row[n].AsInteger(), lastAutoNumber, INT32_MAX));
    }
  }
  std::vector<uint8_t> bytes = encoder_->Encode(fields_);
  if (hasLongValues) {
    size_t roomInRow = encoder_->MaxRowSize() - bytes.size();
    for (size_t n = 0; n < columns.size(); ++n)
      if (longValues_[n] && !row[n].IsNull()) fields_[n] = LongValueField(n, row[n], roomInRow);
    bytes = encoder_->Encode(fields_);
  }
  PlaceRow(bytes);
  lastAutoNumber_ = lastAutoNumber;
  ++rowCount_;
}

void TableWriter::PlaceRow(const std::vector<uint8_t>& bytes) {
  if (dataPages_.empty() || !RowFits(pages_.Page(dataPages_.back()), bytes.size())) {
    dataPages_.push_back(pages_.Allocate());
    StartDataPage(pages_.Page(dataPages_.back()), DefinitionPage());
  }
  const MutableBytes page = pages_.Page(dataPages_.back());
  const PlacedRow placed = *AddRow(page, bytes.size());
  std::copy(bytes.begin(), bytes.end(), placed.bytes.begin());
  if (HasIndexes())
    placed_.push_back(RowPlace{dataPages_.back(), placed.slot,
                                     static_cast<uint16_t>(placed.bytes.data() - page.data()),
                                     static_cast<uint16_t>(bytes.size())});
}

void TableWriter::BuildIndexes(const PageFile& rows, const FormatLayout& format) {
  const RowKeys keys(rows, format, kWindowsLatinCodePage, *table_);
  indexes_.clear();
  for (const PhysicalIndexLayout& index : table_->physicalIndexes)
    indexes_.push_back(WriteIndexPages(pages_, index, DefinitionPage(), placed_, keys, format));
}

void TableWriter::Finish() {
  maps_.Write(table_->ownedPages, dataPages_);
  // Rows were added in order, so only the last page may have room for more.
  maps_.Write(table_->freeSpacePages, dataPages_.empty() ? dataPages_ : std::vector<uint32_t>{dataPages_.back()});
  size_t next = 0;
  for (const std::optional<LongValueWriter>& writer : longValues_) {
    if (!writer) continue;
    const ColumnUsageMaps& columnMaps = table_->columnUsageMaps[next++];
    maps_.Write(columnMaps.ownedPages, writer->Pages());
    maps_.Write(columnMaps.freeSpacePages, writer->PagesWithRoom());
  }
  if (indexes_.size() != table_->physicalIndexes.size())
    ThrowInternalFault("The indexes of a new table must be built before its definition is written.");
  std::vector<uint32_t> distinctKeys;
  for (size_t n = 0; n < indexes_.size(); ++n) {
    maps_.Write(table_->physicalIndexes[n].ownedPages, indexes_[n].pages);
    distinctKeys.push_back(indexes_[n].distinctKeys);
  }
  WriteDefinitionPages(
      EncodeTableDefinition(*table_, rowCount_, static_cast<uint32_t>(lastAutoNumber_), distinctKeys),
      definitionPages_, pages_);
}

}  // namespace Jet::Create
