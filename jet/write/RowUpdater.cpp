#include "jet/write/RowUpdater.h"

#include <algorithm>

#include "common/Text.h"
#include "jet/index/IndexKeyEncoder.h"
#include "jet/page/PageFormatWriter.h"
#include "jet/recovery/OrphanCopyRemover.h"
#include "jet/longvalue/LongValueFormat.h"
#include "jet/row/RowDecoder.h"
#include "jet/page/RowLocator.h"
#include "jet/schema/LongValueColumn.h"
#include "jet/write/ColumnPolicy.h"
#include "jet/write/StoredTextCheck.h"

namespace Jet {
namespace {

const ColumnUsageMaps* MapsOf(const TableLayout& table, uint16_t columnNumber) {
  for (const ColumnUsageMaps& maps : table.columnUsageMaps)
    if (maps.columnNumber == columnNumber) return &maps;
  return nullptr;
}

}  // namespace

RowUpdater::RowUpdater(PageWriter& writer, const FormatLayout& layout, uint16_t codePage, TableLookup tables)
    : writer_(writer),
      layout_(layout),
      codePage_(codePage),
      allocator_(writer, layout),
      longValues_(writer, allocator_, layout),
      indexes_(writer.Pages(), layout, codePage, std::move(tables)),
      indexWriter_(writer, allocator_, layout),
      indexRepair_(writer, allocator_, indexWriter_, layout, codePage) {}

RowUpdater::RowPlace RowUpdater::Locate(const TableLayout& table, RowId id) const {
  const RowPointer home{id.page, id.slot};
  const LocatedRow row = RowLocator(writer_.Pages(), layout_, table.definition->definitionPage).Locate(home);
  if (row.deleted) ThrowRecordDeleted();
  return RowPlace{home, row.moved ? row.home : home};
}

RowPointer RowUpdater::PlaceMovedRow(const TableLayout& table, std::vector<uint8_t> row, uint32_t avoidPage) {
  if (const std::optional<uint32_t> page = allocator_.TablePageWithRoom(table, row.size(), avoidPage)) {
    DataPageEditor editor(writer_.Pages().Read(*page), layout_);
    const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
    writer_.Write(*page, editor.Build());
    return RowPointer{*page, slot};
  }
  DataPageEditor editor = DataPageEditor::Empty(layout_, table.definition->definitionPage, false);
  const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
  return RowPointer{allocator_.AddTablePage(table, editor.Build()), slot};
}

void RowUpdater::CheckMapsReach(const TableLayout& table, uint16_t columnNumber, size_t longValueBytes,
                                const std::vector<IndexChange>& indexChanges) const {
  // The pages a long value takes (rows of at least half a page), a page for a moved row, and the
  // pages the indexes' splits may add.
  uint64_t newPages = longValueBytes / (layout_.pageSize / 2) + 1;
  std::vector<RowPointer> maps{table.ownedPages, table.freeSpacePages};
  for (const IndexChange& change : indexChanges) {
    const PhysicalIndexLayout& index = table.physicalIndexes[change.physicalIndex];
    newPages += IndexWriter::MaxNewPages(writer_.Pages(), layout_, index);
    maps.push_back(index.ownedPages);
  }
  if (const ColumnUsageMaps* columnMaps = MapsOf(table, columnNumber)) {
    maps.push_back(columnMaps->ownedPages);
    maps.push_back(columnMaps->freeSpacePages);
  }
  allocator_.CheckMapsReach(maps, newPages);
}

void RowUpdater::Update(const TableLayout& table, RowId id, size_t column, const Main::Value& value) {
  const uint32_t tablePage = table.definition->definitionPage;
  if (!sweptTables_.contains(tablePage)) {
    // The table's first change in this session: copies a killed process left behind go first, but
    // only for an update that is not refused (a refused one leaves the file as it was).
    (void)Prepare(table, id, column, value);
    RemoveOrphanCopies(writer_, allocator_, layout_, table);
    indexRepair_.Repair(table);
    sweptTables_.insert(tablePage);
  }
  Write(table, column, Prepare(table, id, column, value));
}

RowUpdater::Change RowUpdater::Prepare(const TableLayout& table, RowId id, size_t column, const Main::Value& value) const {
  const TableDefinition& definition = *table.definition;
  if (column >= definition.columns.size())
    ThrowNoSuchColumn();
  CheckColumnWritable(definition, column, layout_);
  const Column& target = definition.columns[column];
  const ColumnLayout& targetPlace = table.columns[column];
  if (target.type == ColumnType::Boolean && value.IsNull())
    ThrowValueRequired(u"The Yes/No field '" + target.name + u"' cannot be Null.");

  const RowPlace place = Locate(table, id);
  Change change{place, DataPageEditor(writer_.Pages().Read(place.current.page), layout_), {}, {}, {}, {}, {}};
  const std::vector<uint8_t>& oldRow = change.current.Row(place.current.slot);
  std::vector<Cell> cells;
  RowDecoder(layout_, table).Split(oldRow, cells);

  // The row's other columns are kept as stored.
  std::vector<Field>& fields = change.fields;
  fields.reserve(cells.size());
  for (size_t n = 0; n < cells.size(); ++n) {
    if (table.columns[n].valueInNullMask)
      fields.emplace_back(Main::Value::Boolean(cells[n].flag));
    else if (cells[n].null)
      fields.emplace_back(Main::Value::Null());
    else
      fields.emplace_back(StoredField{std::vector<uint8_t>(cells[n].bytes.begin(), cells[n].bytes.end())});
  }
  const RowEncoder encoder(layout_, table, codePage_);
  // A long value too long for the row is placed only once the row is known to be acceptable:
  // check the row with a stand-in reference of the same size first.
  if (IsLongValue(target.type) && !value.IsNull()) {
    change.longData = encoder.Values().Encode(target, targetPlace, value);
    if (change.longData->size() <= kLongValueMaxInline)
      fields[column] = StoredField{InlineLongValue(*change.longData)};
    else
      fields[column] = StoredField{LongValueReference(0, RowPointer{}, true)};
  } else {
    fields[column] = value;
  }
  change.newRow = encoder.EncodeChanged(fields, column);
  if (layout_.jet3) CheckStoredTextKept(writer_.Pages(), layout_, CodePageText(codePage_), target, cells[column]);
  if (IsLongValue(target.type) && !cells[column].null)
    change.oldLongValue = std::vector<uint8_t>(cells[column].bytes.begin(), cells[column].bytes.end());

  change.indexChanges = PrepareIndexes(table, column, value, change, cells, encoder);
  CheckMapsReach(table, targetPlace.number, change.longData ? change.longData->size() : 0, change.indexChanges);
  return change;
}

std::vector<IndexChange> RowUpdater::PrepareIndexes(const TableLayout& table, size_t column, const Main::Value& value,
                                                    const Change& change, const std::vector<Cell>& oldCells,
                                                    const RowEncoder& encoder) const {
  const uint16_t columnNumber = table.columns[column].number;
  const bool indexed = std::any_of(table.physicalIndexes.begin(), table.physicalIndexes.end(), [&](const auto& index) {
    return std::any_of(index.columns.begin(), index.columns.end(),
                       [&](const IndexColumn& part) { return part.columnNumber == columnNumber; });
  });
  if (!indexed) return {};
  // A long value placed on pages of its own is keyed from its first characters given inline: keys
  // take no more than that, and the row's real reference does not exist yet.
  std::vector<uint8_t> keyRow;
  if (change.longData && change.longData->size() > kLongValueMaxInline) {
    const Column& target = table.definition->columns[column];
    std::u16string start = value.ToText();
    start.resize(std::min(start.size(), kIndexedTextUnits));
    std::vector<Field> fields = change.fields;
    fields[column] = StoredField{InlineLongValue(encoder.Values().Encode(target, table.columns[column],
                                                                         Main::Value::Text(std::move(start))))};
    keyRow = encoder.EncodeChanged(fields, column);
  }
  std::vector<Cell> newCells;
  RowDecoder(layout_, table).Split(keyRow.empty() ? ByteSpan(change.newRow) : ByteSpan(keyRow), newCells);
  return indexes_.Prepare(table, change.place.home, column, oldCells, newCells);
}

void RowUpdater::Write(const TableLayout& table, size_t column, Change change) {
  const uint16_t columnNumber = table.columns[column].number;
  const RowPlace& place = change.place;
  // Write-order rule 4a: new long-value rows.
  if (change.longData && change.longData->size() > kLongValueMaxInline) {
    change.fields[column] = StoredField{longValues_.Place(*change.longData, MapsOf(table, columnNumber))};
    change.newRow = RowEncoder(layout_, table, codePage_).EncodeChanged(change.fields, column);
  }
  // Write-order rules 4b and 4c: the row itself.
  DataPageEditor& current = change.current;
  if (current.Fits(place.current.slot, change.newRow.size())) {
    current.SetRow(place.current.slot, std::move(change.newRow), current.Flags(place.current.slot));
    writer_.Write(place.current.page, current.Build());
  } else {
    const RowPointer moved = PlaceMovedRow(table, std::move(change.newRow), place.home.page);
    DataPageEditor home(writer_.Pages().Read(place.home.page), layout_);
    home.SetRow(place.home.slot, RowPointerBytes(moved), RowFlag::kMoved);
    writer_.Write(place.home.page, home.Build());
    if (place.current.page != place.home.page || place.current.slot != place.home.slot) {
      // The row's previous new home is no longer pointed to: empty it.
      DataPageEditor previous(writer_.Pages().Read(place.current.page), layout_);
      previous.SetRow(place.current.slot, {}, RowFlag::kDeleted);
      writer_.Write(place.current.page, previous.Build());
    }
  }
  // Write-order rule 4d: the entries of the indexes that cover the column.
  for (const IndexChange& index : change.indexChanges)
    indexWriter_.Replace(table.physicalIndexes[index.physicalIndex], table.definition->definitionPage, index.before,
                         index.after);
  // Write-order rule 4e: the old long value.
  if (change.oldLongValue && change.oldLongValue->size() >= kLongValueHeaderSize)
    longValues_.Free(*change.oldLongValue, MapsOf(table, columnNumber));
}

}  // namespace Jet
