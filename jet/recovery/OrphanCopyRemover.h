#pragma once

#include "jet/schema/TableLayout.h"
#include "jet/usagemap/UsageMapEditor.h"

// Removes the copies of moved rows that no pointer names (OrphanCopyFinder.h) from a table's data
// pages, before the writer first changes that table in a session.
namespace Jet {

// Each page that holds orphan copies is written once, its copies turned into deleted slots of no
// bytes (the page's free-space count grows by their size), and then put into the table's
// free-space map if it is not there yet. No row points to a copy, so a process killed at any point
// leaves every row as it was: pages not yet written keep their copies for the next session to
// remove, a page written but not yet in the free-space map only keeps its room from new rows.
// Everything that can be refused is refused before the first write: JetError kCorrupt as the finder
// throws it, kNotSupported when the usage maps could not record the pages. Returns how many copies
// it removed.
size_t RemoveOrphanCopies(PageWriter& writer, UsageMapEditor& maps, const FormatLayout& layout, const TableLayout& table);

}  // namespace Jet
