#pragma once

#include <memory>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

#include "jet/RowCursor.h"
#include "jet/page/RowLocator.h"
#include "jet/usagemap/UsageMap.h"
#include "jet/row/ValueReader.h"

// The cursor of a table scan: the data pages in the order the owned-pages map lists them, the
// rows of each page in slot order, deleted rows skipped, moved rows returned once in the place of
// their original slot.
namespace Jet {

// What a cursor needs of the open database.
struct ScanContext {
  const PageFile& pages;
  const FormatLayout& layout;
  const TextCodec& codec;
};

class TableScan : public RowCursor {
 public:
  TableScan(const ScanContext& context, std::shared_ptr<const TableLayout> table);

  bool Next() override;
  RowId Id() const override;
  Main::Value Get(size_t column) const override;
  bool IsNull(size_t column) const override;
  bool GetText(size_t column, std::u16string& out) const override;

 private:
  bool NextDataPage();
  bool TakeSlot(uint16_t slot);
  const Cell& CellAt(size_t column) const;

  const ScanContext context_;
  std::shared_ptr<const TableLayout> table_;
  RowLocator locator_;
  mutable RowDecoder decoder_;
  ValueReader values_;
  std::optional<UsageMapCursor> map_;  // opened on the first Next
  std::optional<DataPage> page_;
  uint32_t nextSlot_ = 0;
  bool finished_ = false;
  bool onRow_ = false;
  RowId current_;
  Page rowPage_;  // keeps the current row's bytes alive
  ByteSpan rowBytes_;
  // The current row split into cells when a cell is first asked for (a scan for identities only
  // never splits).
  mutable bool split_ = false;
  mutable std::vector<Cell> cells_;
  std::unordered_set<uint32_t> pagesDone_;          // data pages already walked
  std::set<std::pair<uint32_t, uint16_t>> homesReturned_;  // homes of moved rows already returned
};

}  // namespace Jet
