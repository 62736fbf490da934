#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/file/PageSet.h"

// Places the Memo and OLE object values of one column (layout in LongValueFormat.h): up to 64 bytes
// in the row itself when the row has room, up to 4076 bytes as one row of a long-value page,
// longer values as a chain of rows of 4072 bytes each after their next-row pointer. The column's
// long-value pages are filled one after another.
namespace Jet::Create {

class LongValueWriter {
 public:
  explicit LongValueWriter(PageSet& pages) : pages_(pages) {}

  // The bytes the row stores for `data`: the 12-byte header, followed by the data when it stays
  // in the row. `roomInRow` is how many bytes the row can still give this column.
  std::vector<uint8_t> Store(std::span<const uint8_t> data, size_t roomInRow);

  // The long-value pages of the column, ascending.
  const std::vector<uint32_t>& Pages() const { return pages_owned_; }
  // The page values are being added to, if any (the only one that may have room left).
  const std::vector<uint32_t>& PagesWithRoom() const { return current_; }

 private:
  // A row of `size` bytes on the current page, or on a new one when it does not fit.
  struct Place {
    uint32_t page = 0;
    uint16_t slot = 0;
    size_t offset = 0;  // where the row starts in its page
  };
  Place AddRow(size_t size);

  PageSet& pages_;
  std::vector<uint32_t> pages_owned_;
  std::vector<uint32_t> current_;  // none, or the current page
};

}  // namespace Jet::Create
