#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "jet/Database.h"
#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/schema/TableLayout.h"

// A table of a created file read below the engine's public face, for looking at its indexes:
// their physical layout, their trees and what the index checker finds.
namespace Jet::Testing {

class CreatedTable {
 public:
  CreatedTable(const std::filesystem::path& file, FileFormat format, std::u16string_view table);

  const PageFile& Pages() const { return pages_; }
  const TableLayout& Table() const { return *table_; }

  // The physical index of the logical index `name`; throws std::runtime_error when there is none.
  const PhysicalIndexLayout& Physical(std::u16string_view name) const;
  // The rows of the index in index order.
  std::vector<RowId> RowsInOrder(std::u16string_view name) const;
  // Whether the index's root is a node page (its tree has more than one level).
  bool RootIsNode(std::u16string_view name) const;
  // What the index checker finds, one problem a line; empty for none.
  std::string Problems() const;

 private:
  std::vector<uint8_t> bytes_;
  const FormatLayout& layout_;
  PageFile pages_;
  std::shared_ptr<const TableLayout> table_;
};

}  // namespace Jet::Testing
