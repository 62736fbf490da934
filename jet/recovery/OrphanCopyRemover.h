#pragma once

#include "jet/schema/TableLayout.h"
#include "jet/usagemap/PageAllocator.h"

// Removes the copies of moved rows that no pointer names (OrphanCopyFinder.h) from a table's data
// pages, before the writer first changes that table in a session.
namespace Jet {

// Each page that holds orphan copies is written once and then put into the table's free-space map
// (write-order rule 6, jet/write/WriteOrder.h). Everything that can be refused is refused before
// the first write (write-order rule 3): JetError kCorrupt as the finder throws it, kNotSupported
// when the usage maps could not record the pages. Returns how many copies it removed.
size_t RemoveOrphanCopies(PageWriter& writer, PageAllocator& allocator, const FormatLayout& layout, const TableLayout& table);

}  // namespace Jet
