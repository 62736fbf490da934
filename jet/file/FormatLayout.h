#pragma once

#include <cstddef>
#include <cstdint>

#include "jet/Schema.h"

// Where things sit in pages, table definitions and rows. Jet3 (Access 97) differs from Jet4 and
// all ACE versions only in these numbers; the readers take them from here and stay the same for
// every version.
namespace Jet {

struct FormatLayout {
  bool jet3 = false;
  uint32_t pageSize = 4096;

  // Data pages: the row count and the first entry of the row offset table.
  size_t dataPageRowCount = 12;
  size_t dataPageRowTable = 14;

  // Table definition, offsets into the definition as if its pages were joined.
  size_t tdefRowCount = 16;
  size_t tdefTableType = 40;
  size_t tdefMaxColumns = 41;
  size_t tdefVariableColumns = 43;
  size_t tdefColumnCount = 45;
  size_t tdefLogicalIndexCount = 47;
  size_t tdefPhysicalIndexCount = 51;
  size_t tdefOwnedPages = 55;
  size_t tdefFreeSpacePages = 59;
  size_t tdefHeaderSize = 63;          // where the physical index counts begin
  size_t physicalIndexCountSize = 12;  // one entry per physical index before the columns
  size_t columnBlockSize = 25;
  size_t physicalIndexBlockSize = 52;
  size_t logicalIndexBlockSize = 28;
  size_t nameLengthSize = 2;  // names: 2-byte length + UCS-2 (Jet3: 1-byte length + code page)

  // Column block fields.
  size_t columnNumber = 5;
  size_t columnVariableIndex = 7;
  size_t columnSortOrder = 11;
  size_t columnSortOrderVersion = 14;  // none in Jet3 (0 there)
  size_t columnCodePage = 0;           // Jet3 only (0 elsewhere)
  size_t columnPrecision = 11;
  size_t columnScale = 12;
  size_t columnFlags = 15;
  size_t columnExtraFlags = 16;  // none in Jet3
  size_t columnFixedOffset = 21;
  size_t columnLength = 23;

  // Physical index block: skipped bytes before the 10 column slots, and before the flags byte
  // that follows the usage map and first page fields.
  size_t physicalIndexLeadingSkip = 4;
  size_t physicalIndexSkipBeforeFlags = 4;
  // Logical index block: skipped bytes before the index number.
  size_t logicalIndexLeadingSkip = 4;

  // Rows: the column count and the variable offsets are one byte in Jet3, two in Jet4.
  size_t rowFieldSize = 2;

  // Long-value pages: the longest chunk a page of a chain holds.
  size_t longValueChunkMax = 4076;

  // Index keys of Decimal columns in the Jet3/Jet4 order, which misplaces negative values in
  // descending indexes; ACE files use the corrected order.
  bool legacyDecimalKeys = true;
};

const FormatLayout& LayoutOf(FileFormat format);

}  // namespace Jet
