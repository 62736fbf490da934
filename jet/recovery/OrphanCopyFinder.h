#pragma once

#include <vector>

#include "jet/schema/TableLayout.h"

// Finds the copies of moved rows that no pointer names. A row that outgrows its page is written
// again on another page, flagged deleted there so that a scan does not return it twice, and its
// own slot then becomes a pointer to that copy (see RowUpdater.h); a process killed between those
// two writes leaves a copy nothing points to. Access and the engine skip it, mdbtools lists it
// as one more record.
namespace Jet {

// The orphan copies on the data pages the table's owned-pages map lists, in page and slot order:
// slots flagged deleted (and not moved) that still hold bytes and that no chain of pointers from a
// live row reaches. Reads each page once and writes nothing. Throws JetError kCorrupt where it
// cannot be sure which rows are referenced: a pointer to a page that is not one of the table's
// listed data pages or to a slot its page lacks, a pointer chain that runs on too long, a damaged
// page, a map that names a page outside the file.
std::vector<RowPointer> FindOrphanCopies(const PageFile& pages, const FormatLayout& layout, const TableLayout& table);

}  // namespace Jet
