#include "jet/longvalue/LongValueWriter.h"

#include <algorithm>

#include "jet/longvalue/LongValueFormat.h"
#include "jet/page/RowPage.h"

namespace Jet::Create {
namespace {
constexpr size_t kMaxSingleRow = FormatLayout{}.longValueChunkMax;  // the creator writes Jet4 and ACE only
constexpr size_t kChainPiece = kMaxSingleRow - kLongValueChainPointerSize;
}  // namespace

LongValueWriter::Place LongValueWriter::AddRow(size_t size) {
  if (current_.empty() || !RowFits(pages_.Page(current_.front()), size)) {
    const uint32_t page = pages_.Allocate();
    StartLongValuePage(pages_.Page(page));
    pages_owned_.push_back(page);
    current_.assign(1, page);
  }
  const uint32_t page = current_.front();
  const PlacedRow row = *Create::AddRow(pages_.Page(page), size);
  return Place{page, row.slot, static_cast<size_t>(row.bytes.data() - pages_.Page(page).data())};
}

std::vector<uint8_t> LongValueWriter::Store(std::span<const uint8_t> data, size_t roomInRow) {
  if (data.size() <= kLongValueMaxInline && kLongValueHeaderSize + data.size() <= roomInRow) return InlineLongValue(data);
  const uint32_t length = static_cast<uint32_t>(data.size());
  if (data.size() <= kMaxSingleRow) {
    const Place place = AddRow(data.size());
    std::copy(data.begin(), data.end(), pages_.Page(place.page).begin() + static_cast<ptrdiff_t>(place.offset));
    return LongValueReference(length, RowPointer{place.page, place.slot}, true);
  }
  // A chain: each piece is placed before the next, whose pointer is filled in once it is placed.
  Place first{};
  Place previous{};
  for (size_t taken = 0; taken < data.size(); taken += kChainPiece) {
    const size_t piece = std::min(kChainPiece, data.size() - taken);
    const Place place = AddRow(kLongValueChainPointerSize + piece);
    const MutableBytes page = pages_.Page(place.page);
    std::copy_n(data.begin() + static_cast<ptrdiff_t>(taken), piece,
                page.begin() + static_cast<ptrdiff_t>(place.offset + kLongValueChainPointerSize));
    if (taken == 0)
      first = place;
    else
      PutRowPointer(pages_.Page(previous.page), previous.offset, place.page, place.slot);
    previous = place;
  }
  return LongValueReference(length, RowPointer{first.page, first.slot}, false);
}

}  // namespace Jet::Create
