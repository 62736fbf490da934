#include "jet/page/RowLocator.h"

namespace Jet {

bool RowLocator::IsTableDataPage(const Page& page) const {
  return page.Type() == kDataPageType && OwnerOf(page.Bytes()) == tablePage_;
}

LocatedRow RowLocator::Locate(RowPointer where) const {
  const Page page = pages_.Read(where.page);
  if (!IsTableDataPage(page))
    ThrowCorrupt(PageText(where.page) + " is not a data page of the table at " + PageText(tablePage_));
  return Locate(DataPage(page, layout_), where.slot);
}

LocatedRow RowLocator::Locate(const DataPage& start, uint16_t slot) const {
  LocatedRow row;
  RowSlot entry = start.Slot(slot);
  if (entry.deleted) {
    row.deleted = true;
    return row;
  }
  DataPage current = start;
  for (int hop = 0; entry.moved; ++hop) {
    if (hop == kMaxPointerHops)
      ThrowCorrupt("the moved row in slot " + std::to_string(slot) + " of " +
                   PageText(start.Source().Number()) + " points on too many times");
    row.moved = true;
    row.home = ReadRowPointer(current.RowBytes(entry), 0);
    const Page target = pages_.Read(row.home.page);
    if (!IsTableDataPage(target))
      ThrowCorrupt("a moved row points to " + PageText(row.home.page) +
                   ", which is not a data page of its table");
    current = DataPage(target, layout_);
    entry = current.Slot(row.home.slot);
    row.homeMarkedDeleted = entry.deleted;
  }
  row.page = current.Source();
  row.bytes = current.RowBytes(entry);
  return row;
}

}  // namespace Jet
