#pragma once

#include <cstdint>
#include <optional>

#include "jet/base/ByteWriter.h"
#include "jet/page/PageFormat.h"

// One slot's row of a data page replaced where it lies, without building the page again: a row
// of the same size is written over the old one; one that shrinks or grows moves only the rows
// stored below it (the later slots) by the difference, with their slot entries and the page's
// free-space count. Planned on a page's bytes first: only a page whose slot offsets run down the
// page in slot order (as DataPageEditor::Build lays them) is changed this way, and only when its
// free space below the last row takes the growth; for any other the caller rebuilds the page.
namespace Jet {

class RowInPlaceEdit {
 public:
  // The edit that makes `slot`'s row `newSize` bytes long, or none when the page is not laid out
  // as the shift assumes (offsets out of slot order, outside the row area, a slot that does not
  // exist). Reads only; every offset is checked against the page.
  static std::optional<RowInPlaceEdit> Plan(ByteSpan page, const FormatLayout& layout, uint16_t slot,
                                            size_t newSize);

  // Whether the page's free space takes the row. When it does not, the page's rows leave no
  // other room either (a rebuild packs them as they lie): the row must move to another page.
  bool Fits() const { return fits_; }

  // Writes `row` (of the planned size) into `page`, which must still hold the bytes planned on
  // (the slot entries the edit moves are checked again; kCorrupt otherwise, or when it does not fit). The slot keeps its
  // flags unless `flags` are given; the bytes a shrink frees are zeroed, as a rebuilt page has them.
  void Apply(MutableBytes page, ByteSpan row, std::optional<uint16_t> flags = std::nullopt) const;

 private:
  RowInPlaceEdit() = default;

  size_t rowCountAt_ = 0;
  size_t rowTable_ = 0;      // where the slot table starts
  uint16_t slot_ = 0;
  uint16_t slotCount_ = 0;
  size_t rowAreaStart_ = 0;  // the end of the slot table
  size_t start_ = 0;         // the row's first byte
  size_t end_ = 0;           // past its last byte
  size_t lowest_ = 0;        // the first byte of the last slot's row: the rows below end here
  size_t newSize_ = 0;
  bool fits_ = false;
};

}  // namespace Jet
