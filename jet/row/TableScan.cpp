#include "jet/row/TableScan.h"

#include "jet/base/Failure.h"

namespace Jet {

TableScan::TableScan(const ScanContext& context, std::shared_ptr<const TableLayout> table)
    : context_(context),
      table_(std::move(table)),
      locator_(context.pages, context.layout, table_->definition->definitionPage),
      decoder_(context.layout, *table_),
      values_(context.pages, context.layout, context.codec) {}

bool TableScan::NextDataPage() {
  if (!map_) map_.emplace(context_.pages, context_.layout, table_->ownedPages);
  if (page_) pagesDone_.insert(page_->Source().Number());
  page_.reset();
  uint32_t number = 0;
  while (map_->Next(number)) {
    if (number >= context_.pages.PageCount())
      ThrowCorrupt("the usage map of the table at " + PageText(table_->definition->definitionPage) +
                   " names " + PageText(number) + ", outside the file");
    Page page = context_.pages.Read(number);
    if (!locator_.IsTableDataPage(page)) continue;
    page_.emplace(std::move(page), context_.layout);
    nextSlot_ = 0;
    return true;
  }
  return false;
}

bool TableScan::TakeSlot(uint16_t slot) {
  const uint32_t pageNumber = page_->Source().Number();
  if (homesReturned_.count({pageNumber, slot}) != 0) return false;  // returned where it was moved from
  LocatedRow row = locator_.Locate(*page_, slot);
  if (row.deleted) return false;
  if (row.moved) {
    const std::pair<uint32_t, uint16_t> home{row.home.page, row.home.slot};
    // A home that is not flagged deleted is also returned on its own page: skip it here if that
    // has already happened.
    const bool homeSeen = !row.homeMarkedDeleted &&
                          (pagesDone_.count(row.home.page) != 0 ||
                           (row.home.page == pageNumber && row.home.slot < slot));
    if (homeSeen || !homesReturned_.insert(home).second) return false;
  }
  rowBytes_ = row.bytes;
  split_ = false;
  rowPage_ = std::move(row.page);
  current_ = RowId{pageNumber, slot};
  return true;
}

bool TableScan::Next() {
  onRow_ = false;
  while (!finished_) {
    if (!page_ || nextSlot_ >= page_->RowCount()) {
      if (!NextDataPage()) {
        finished_ = true;
        break;
      }
      continue;
    }
    const uint16_t slot = static_cast<uint16_t>(nextSlot_++);
    if (TakeSlot(slot)) {
      onRow_ = true;
      return true;
    }
  }
  return false;
}

RowId TableScan::Id() const {
  if (!onRow_) ThrowNoCurrentRecord();
  return current_;
}

const Cell& TableScan::CellAt(size_t column) const {
  if (!onRow_) ThrowNoCurrentRecord();
  if (!split_) {
    decoder_.Split(rowBytes_, cells_);
    split_ = true;
  }
  if (column >= cells_.size())
    ThrowNoSuchColumn();
  return cells_[column];
}

Main::Value TableScan::Get(size_t column) const {
  const Cell& cell = CellAt(column);
  return values_.Read(table_->definition->columns[column], cell);
}

bool TableScan::IsNull(size_t column) const {
  const Cell& cell = CellAt(column);
  if (table_->columns[column].valueInNullMask) return false;
  return cell.null;
}

bool TableScan::GetText(size_t column, std::u16string& out) const {
  const Cell& cell = CellAt(column);
  return values_.ReadText(table_->definition->columns[column], cell, out);
}

}  // namespace Jet
