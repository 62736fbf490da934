#pragma once

#include <cstdint>
#include <vector>

#include "jet/page/DataPage.h"

// A usage map: the set of pages a table (or an index, or a column's long values) owns, or the
// subset of them with free space. Read lazily: the pages of an indirect map are read only when
// the walk reaches the range they cover.
namespace Jet {

class UsageMapCursor {
 public:
  // Reads the map row that `where` names (one page read). Throws kCorrupt for an unknown map type.
  UsageMapCursor(const PageFile& pages, const FormatLayout& layout, RowPointer where);

  // The next page in the map, in ascending order; false after the last one.
  bool Next(uint32_t& page);

  bool IsIndirect() const { return indirect_; }

 private:
  bool NextInBitmap(ByteSpan bitmap, uint32_t firstPage, uint32_t& page);
  bool LoadNextMapPage();

  const PageFile& pages_;
  std::vector<uint8_t> row_;  // the map row, copied out of its page
  bool indirect_ = false;
  uint32_t inlineFirstPage_ = 0;
  size_t bit_ = 0;  // next bit to look at in the current bitmap
  // Indirect maps: the map page being walked and which entry of the row it came from.
  size_t mapEntry_ = 0;
  bool mapPageLoaded_ = false;
  Page mapPage_;
};

}  // namespace Jet
