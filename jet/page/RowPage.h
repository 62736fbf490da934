#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "jet/page/PageFormatWriter.h"

// Places rows into the creator's pages, laid out like a data page (see PageFormat.h): table rows,
// long-value rows and usage-map rows. The creator writes Jet4 and ACE files only. Rows fill the
// page from its end downwards and are filled in place once placed; the free-space field counts
// what is left after the header and every row with its slot entry.
namespace Jet::Create {

// The layout of the creator's pages and rows: Jet4's, which ACE shares.
inline const FormatLayout& CreatorLayout() { return LayoutOf(FileFormat::Jet4); }
constexpr size_t kRowPageHeaderSize = FormatLayout{}.dataPageRowTable;  // Jet4 and ACE: the slot table starts here
constexpr size_t kMaxRowsOnPage = 255;

// Turns a zeroed page into an empty data page owned by the table definition at `owner`.
void StartDataPage(MutableBytes page, uint32_t owner);
// Turns a zeroed page into an empty long-value page ("LVAL" in place of the owner).
void StartLongValuePage(MutableBytes page);

// Free bytes of a page started above.
uint16_t FreeSpace(std::span<const uint8_t> page);
uint16_t RowCount(std::span<const uint8_t> page);
// Where the row in slot `slot` starts; the slot must be one AddRow placed.
size_t RowStart(std::span<const uint8_t> page, uint16_t slot);
// Whether a row of this many bytes still fits.
bool RowFits(std::span<const uint8_t> page, size_t rowSize);

// Adds a row of `rowSize` bytes and returns its slot and bytes to fill; nothing when it does not
// fit.
struct PlacedRow {
  uint16_t slot = 0;
  MutableBytes bytes;
};
std::optional<PlacedRow> AddRow(MutableBytes page, size_t rowSize);

}  // namespace Jet::Create
