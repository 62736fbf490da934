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

RowUpdater::TableRows& RowUpdater::RowsOf(const TableLayout& table) {
  if (!rows_ || rows_->table != &table || rows_->definition != table.definition ||
      rows_->columns != table.columns.data())
    rows_.emplace(TableRows{&table, table.definition, table.columns.data(), RowEncoder(layout_, table, codePage_),
                            RowDecoder(layout_, table)});
  return *rows_;
}

RowUpdater::RowPlace RowUpdater::Locate(const TableLayout& table, RowId id) {
  const RowPointer home{id.page, id.slot};
  LocatedRow row = RowLocator(writer_.Pages(), layout_, table.definition->definitionPage).Locate(home);
  if (row.deleted) ThrowRecordDeleted();
  RowsOf(table).decoder.Split(row.bytes, cells_);
  rowPage_ = std::move(row.page);
  return RowPlace{home, row.moved ? row.home : home};
}

void RowUpdater::WriteDataPage(uint32_t page, const std::vector<uint8_t>& bytes) {
  const MutableBytes target = writer_.Edit(page);
  if (bytes.size() != target.size()) ThrowCorrupt("a rebuilt data page is not one page long");
  std::copy(bytes.begin(), bytes.end(), target.begin());
}

void RowUpdater::WriteSlot(RowPointer where, ByteSpan row, uint16_t flags) {
  std::optional<RowInPlaceEdit> edit;
  std::optional<DataPageEditor> editor;
  {
    const Page page = writer_.Pages().Read(where.page);
    edit = RowInPlaceEdit::Plan(page.Bytes(), layout_, where.slot, row.size());
    if (!edit || !edit->Fits()) editor.emplace(page, layout_);
  }  // the page's copy is not shared once `page` is gone, so the edit below reuses it
  if (edit && edit->Fits()) {
    edit->Apply(writer_.Edit(where.page), row, flags);
    return;
  }
  editor->SetRow(where.slot, std::vector<uint8_t>(row.begin(), row.end()), flags);
  WriteDataPage(where.page, editor->Build());
}

RowPointer RowUpdater::PlaceMovedRow(const TableLayout& table, std::vector<uint8_t> row, uint32_t avoidPage) {
  if (const std::optional<uint32_t> page = allocator_.TablePageWithRoom(table, row.size(), avoidPage)) {
    DataPageEditor editor(writer_.Pages().Read(*page), layout_);
    const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
    WriteDataPage(*page, editor.Build());
    return RowPointer{*page, slot};
  }
  DataPageEditor editor = DataPageEditor::Empty(layout_, table.definition->definitionPage, false);
  const uint16_t slot = editor.AddRow(std::move(row), RowFlag::kDeleted);
  return RowPointer{allocator_.AddTablePage(table, editor.Build()), slot};
}

void RowUpdater::CheckMapsReach(const TableLayout& table, uint16_t columnNumber, size_t longValueBytes,
                                const std::vector<IndexChange>& indexChanges) {
  // The pages a long value takes (rows of at least half a page), a page for a moved row, and the
  // pages the indexes' splits may add.
  uint64_t newPages = longValueBytes / (layout_.pageSize / 2) + 1;
  std::vector<RowPointer>& maps = mapsToCheck_;
  maps.assign({table.ownedPages, table.freeSpacePages});
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

ColumnBytes RowUpdater::NewColumn(const TableLayout& table, size_t column, const Main::Value& value, Change& change) {
  const Column& target = table.definition->columns[column];
  const ColumnLayout& targetPlace = table.columns[column];
  const RowEncoder& encoder = RowsOf(table).encoder;
  if (targetPlace.valueInNullMask) return ColumnBytes{{}, encoder.Values().Flag(target, value)};
  if (value.IsNull()) return ColumnBytes{};
  if (IsLongValue(target.type)) {
    // A long value too long for the row is placed only once the row is known to be acceptable:
    // check the row with a stand-in reference of the same size first.
    change.longData = encoder.Values().Encode(target, targetPlace, value);
    newValue_ = change.longData->size() <= kLongValueMaxInline ? InlineLongValue(*change.longData)
                                                               : LongValueReference(0, RowPointer{}, true);
  } else {
    newValue_ = encoder.Values().Encode(target, targetPlace, value);
  }
  return ColumnBytes{newValue_, true};
}

RowUpdater::Change RowUpdater::Prepare(const TableLayout& table, RowId id, size_t column, const Main::Value& value) {
  const TableDefinition& definition = *table.definition;
  if (column >= definition.columns.size())
    ThrowNoSuchColumn();
  CheckColumnWritable(definition, column, layout_);
  const Column& target = definition.columns[column];
  const ColumnLayout& targetPlace = table.columns[column];
  if (target.type == ColumnType::Boolean && value.IsNull())
    ThrowValueRequired(u"The Yes/No field '" + target.name + u"' cannot be Null.");

  Change change{Locate(table, id), {}, {}, {}, {}, {}};
  // The row's other columns are kept as stored.
  RowsOf(table).encoder.EncodeReplacing(cells_, column, NewColumn(table, column, value, change), newRow_);
  if (layout_.jet3) CheckStoredTextKept(writer_.Pages(), layout_, CodePageText(codePage_), target, cells_[column]);
  if (IsLongValue(target.type) && !cells_[column].null)
    change.oldLongValue = std::vector<uint8_t>(cells_[column].bytes.begin(), cells_[column].bytes.end());

  change.indexChanges = PrepareIndexes(table, column, value, change);
  CheckMapsReach(table, targetPlace.number, change.longData ? change.longData->size() : 0, change.indexChanges);
  // Where the row will go: in place on its page when the page allows, else the page rebuilt (or
  // the row moved, which the rebuilt page tells where the in-place plan cannot).
  change.inPlace = RowInPlaceEdit::Plan(rowPage_.Bytes(), layout_, change.place.current.slot, newRow_.size());
  if (!change.inPlace) change.rebuilt.emplace(rowPage_, layout_);
  return change;
}

std::vector<IndexChange> RowUpdater::PrepareIndexes(const TableLayout& table, size_t column, const Main::Value& value,
                                                    const Change& change) {
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
    const std::vector<uint8_t> startBytes = InlineLongValue(
        RowsOf(table).encoder.Values().Encode(target, table.columns[column], Main::Value::Text(std::move(start))));
    RowsOf(table).encoder.EncodeReplacing(cells_, column, ColumnBytes{startBytes, true}, keyRow);
  }
  std::vector<Cell> newCells;
  RowDecoder(layout_, table).Split(keyRow.empty() ? ByteSpan(newRow_) : ByteSpan(keyRow), newCells);
  return indexes_.Prepare(table, change.place.home, column, cells_, newCells);
}

void RowUpdater::Write(const TableLayout& table, size_t column, Change change) {
  const uint16_t columnNumber = table.columns[column].number;
  const RowPlace& place = change.place;
  // Write-order rule 4a: new long-value rows.
  if (change.longData && change.longData->size() > kLongValueMaxInline) {
    newValue_ = longValues_.Place(*change.longData, MapsOf(table, columnNumber));
    RowsOf(table).encoder.EncodeReplacing(cells_, column, ColumnBytes{newValue_, true}, newRow_);
  }
  // The row's old bytes are no longer needed: let the page go, so that its copy is not shared.
  rowPage_ = Page();
  // Write-order rules 4b and 4c: the row itself.
  if (change.inPlace && change.inPlace->Fits()) {
    change.inPlace->Apply(writer_.Edit(place.current.page), newRow_);
  } else if (change.rebuilt && change.rebuilt->Fits(place.current.slot, newRow_.size())) {
    change.rebuilt->SetRow(place.current.slot, newRow_, change.rebuilt->Flags(place.current.slot));
    WriteDataPage(place.current.page, change.rebuilt->Build());
  } else {
    const RowPointer moved = PlaceMovedRow(table, newRow_, place.home.page);
    WriteSlot(place.home, RowPointerBytes(moved), RowFlag::kMoved);
    if (place.current.page != place.home.page || place.current.slot != place.home.slot) {
      // The row's previous new home is no longer pointed to: empty it.
      WriteSlot(place.current, {}, RowFlag::kDeleted);
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
