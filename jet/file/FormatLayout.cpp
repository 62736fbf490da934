#include "jet/file/FormatLayout.h"

namespace Jet {
namespace {

FormatLayout Jet3Layout() {
  FormatLayout layout;
  layout.jet3 = true;
  layout.pageSize = 2048;
  layout.dataPageRowCount = 8;
  layout.dataPageRowTable = 10;
  layout.tdefRowCount = 12;
  layout.tdefTableType = 20;
  layout.tdefMaxColumns = 21;
  layout.tdefVariableColumns = 23;
  layout.tdefColumnCount = 25;
  layout.tdefLogicalIndexCount = 27;
  layout.tdefPhysicalIndexCount = 31;
  layout.tdefOwnedPages = 35;
  layout.tdefFreeSpacePages = 39;
  layout.tdefHeaderSize = 43;
  layout.physicalIndexCountSize = 8;
  layout.columnBlockSize = 18;
  layout.physicalIndexBlockSize = 39;
  layout.logicalIndexBlockSize = 20;
  layout.nameLengthSize = 1;
  layout.columnNumber = 1;
  layout.columnVariableIndex = 3;
  layout.columnSortOrder = 9;
  layout.columnSortOrderVersion = 0;
  layout.columnCodePage = 11;
  layout.columnPrecision = 11;
  layout.columnScale = 12;
  layout.columnFlags = 13;
  layout.columnExtraFlags = 0;
  layout.columnFixedOffset = 14;
  layout.columnLength = 16;
  layout.physicalIndexLeadingSkip = 0;
  layout.physicalIndexSkipBeforeFlags = 0;
  layout.logicalIndexLeadingSkip = 0;
  layout.rowFieldSize = 1;
  layout.longValueChunkMax = 2032;
  return layout;
}

FormatLayout AceLayout() {
  FormatLayout layout;
  layout.legacyDecimalKeys = false;
  return layout;
}

const FormatLayout kJet3 = Jet3Layout();
const FormatLayout kJet4;
const FormatLayout kAce = AceLayout();

}  // namespace

const FormatLayout& LayoutOf(FileFormat format) {
  if (format == FileFormat::Jet3) return kJet3;
  return format == FileFormat::Jet4 ? kJet4 : kAce;
}

}  // namespace Jet
