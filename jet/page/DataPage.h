#pragma once

#include <cstdint>

#include "jet/file/FormatLayout.h"
#include "jet/file/PageFile.h"
#include "jet/page/PageFormat.h"

// A data page (type 0x01, laid out as PageFormat.h shows) seen through its slot table; also used
// for long-value pages and for the pages that hold usage maps, which have the same layout.
namespace Jet {

// Where one slot's row lies in the page, with its flags.
struct RowSlot {
  uint16_t start = 0;  // offset of the first byte
  uint16_t end = 0;    // offset past the last byte
  bool deleted = false;
  bool moved = false;  // RowFlag::kMoved: the row holds a pointer to the row's new home
};

class DataPage {
 public:
  // Throws kCorrupt when the page is not a data page or its row count cannot fit.
  DataPage(Page page, const FormatLayout& layout);

  const Page& Source() const { return page_; }
  // The table definition page that owns this page (the bytes 'LVAL' on long-value pages).
  uint32_t OwnerPage() const;
  bool IsLongValuePage() const;
  uint16_t RowCount() const { return rowCount_; }
  // Throws kCorrupt when the slot does not exist or its row lies outside the row area.
  RowSlot Slot(uint16_t slot) const;
  ByteSpan RowBytes(const RowSlot& slot) const;

 private:
  Page page_;
  const FormatLayout* layout_;
  uint16_t rowCount_ = 0;
};

}  // namespace Jet
