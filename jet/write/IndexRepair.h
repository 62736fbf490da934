#pragma once

#include <cstdint>

#include "jet/file/PageWriter.h"
#include "jet/index/IndexWriter.h"
#include "jet/schema/TableLayout.h"
#include "jet/usagemap/PageAllocator.h"

// Mends what a killed update left in a table's indexes, before the table's first change in a
// session (write-order rule 4): an update writes its row and then its index entries, so a kill
// leaves at most one row per index whose entry still holds the old key, or a change of the index's
// pages cut short (a node entry that no longer copies its child's last entry, a page split whose
// new half no page points to yet). Such an index is rebuilt from the table's rows on new pages;
// its root stays on its page and is written last, so a kill during the rebuild leaves the index as
// it was. An index that differs from its rows in more than one row, or whose pages cannot be
// walked, is damage no kill explains: the change is refused (ThrowIndexDamaged) with nothing
// written. Indexes whose keys the engine cannot make are left as they are.
namespace Jet {

class IndexRepair {
 public:
  IndexRepair(PageWriter& writer, PageAllocator& allocator, IndexWriter& indexWriter, const FormatLayout& format,
              uint16_t codePage);

  // Checks every index of the table against its rows; refuses first, then rebuilds what needs it.
  void Repair(const TableLayout& table);

 private:
  PageWriter& writer_;
  PageAllocator& allocator_;
  IndexWriter& indexWriter_;
  const FormatLayout& format_;
  uint16_t codePage_;
};

}  // namespace Jet
