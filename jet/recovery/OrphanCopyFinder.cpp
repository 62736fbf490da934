#include "jet/recovery/OrphanCopyFinder.h"

#include <unordered_map>

#include "jet/page/RowLocator.h"
#include "jet/usagemap/UsageMap.h"

// What the search reads of each slot of a data page (layout in PageFormat.h): the flags
// RowFlag::kDeleted and RowFlag::kMoved, and the row's bytes between its start and the start of
// the slot before it. A moved row's bytes begin with a row pointer to where it now lives; that
// new home carries the deleted flag alone and holds the row. Access marks a row it deletes with
// both flags, so a slot with both is a deleted row, never a copy -- yet a pointer chain is
// followed through it as the row reader does.
namespace Jet {
namespace {

// What the search knows of one slot.
struct SlotState {
  bool deleted = false;
  bool moved = false;
  bool holdsBytes = false;
  bool hasPointer = false;  // moved, with a whole pointer in `next`
  bool referenced = false;  // some live row's pointer chain reaches this slot
  RowPointer next;
};

std::vector<SlotState> ReadSlots(const DataPage& page, const FormatLayout& layout) {
  const size_t rowAreaStart = SlotEntryAt(layout, page.RowCount());
  const size_t pageEnd = page.Source().Bytes().size();
  std::vector<SlotState> slots(page.RowCount());
  for (uint16_t n = 0; n < page.RowCount(); ++n) {
    const RowSlot slot = page.Slot(n);  // throws for a live row outside the row area
    SlotState& state = slots[n];
    state.deleted = slot.deleted;
    state.moved = slot.moved;
    state.holdsBytes = slot.start >= rowAreaStart && slot.start < slot.end && slot.end <= pageEnd;
    if (state.moved && state.holdsBytes && size_t{slot.end} - slot.start >= kRowPointerSize) {
      state.hasPointer = true;
      state.next = ReadRowPointer(page.RowBytes(slot), 0);
    }
  }
  return slots;
}

std::string SlotText(RowPointer where) { return "slot " + std::to_string(where.slot) + " of " + PageText(where.page); }

}  // namespace

std::vector<RowPointer> FindOrphanCopies(const PageFile& pages, const FormatLayout& layout, const TableLayout& table) {
  const uint32_t tablePage = table.definition->definitionPage;
  // The table's data pages, each with its slots; the map lists every page once, in order.
  std::unordered_map<uint32_t, std::vector<SlotState>> dataPages;
  std::vector<uint32_t> order;
  UsageMapCursor owned(pages, layout, table.ownedPages);
  for (uint32_t number = 0; owned.Next(number);) {
    if (number >= pages.PageCount())
      ThrowCorrupt("the usage map of the table at " + PageText(tablePage) + " names " + PageText(number) +
                   ", outside the file");
    const Page page = pages.Read(number);
    if (page.Type() != kDataPageType || OwnerOf(page.Bytes()) != tablePage) continue;
    dataPages.emplace(number, ReadSlots(DataPage(page, layout), layout));
    order.push_back(number);
  }

  for (const uint32_t number : order) {
    const std::vector<SlotState>& slots = dataPages.at(number);
    for (uint16_t n = 0; n < slots.size(); ++n) {
      if (slots[n].deleted || !slots[n].moved) continue;
      const RowPointer home{number, n};
      if (!slots[n].hasPointer) ThrowCorrupt("the moved row in " + SlotText(home) + " holds no whole pointer");
      RowPointer at = slots[n].next;
      for (int hop = 0;; ++hop) {
        const auto target = dataPages.find(at.page);
        if (target == dataPages.end())
          ThrowCorrupt("the moved row in " + SlotText(home) + " points to " + PageText(at.page) +
                       ", which is not a data page of the table at " + PageText(tablePage));
        if (at.slot >= target->second.size())
          ThrowCorrupt("the moved row in " + SlotText(home) + " points to " + SlotText(at) + ", which does not exist");
        SlotState& reached = target->second[at.slot];
        reached.referenced = true;
        if (!reached.moved) break;
        if (hop == kMaxPointerHops) ThrowCorrupt("the moved row in " + SlotText(home) + " points on too many times");
        if (!reached.hasPointer)
          ThrowCorrupt("the moved row in " + SlotText(home) + " leads to " + SlotText(at) + ", a moved row without a whole pointer");
        at = reached.next;
      }
    }
  }

  std::vector<RowPointer> orphans;
  for (const uint32_t number : order) {
    const std::vector<SlotState>& slots = dataPages.at(number);
    for (uint16_t n = 0; n < slots.size(); ++n)
      if (slots[n].deleted && !slots[n].moved && slots[n].holdsBytes && !slots[n].referenced)
        orphans.push_back(RowPointer{number, n});
  }
  return orphans;
}

}  // namespace Jet
