#pragma once

#include <cstdint>

#include "jet/Schema.h"
#include "jet/file/FormatLayout.h"

// Which character tables a Text or Memo column's index keys are made with. A text column names
// its collation (a Windows locale id) and, in Jet4/ACE files, a version byte; the engine makes
// keys for the collation 0x0409 ("General") only:
//   Jet3                     General 97      (Access 97)
//   Jet4/ACE, version 0      General Legacy  (Access 2000-2007; also written by later versions)
//   Jet4/ACE, version 1      General         (Access 2010 and later)
namespace Jet {

enum class TextSortOrder : uint8_t { General97, GeneralLegacy, General };

// The collation id of the "General" sort order.
constexpr uint16_t kGeneralCollation = 0x0409;

// The sort order of a Text or Memo column. Throws kNotSupported naming the column and the sort
// order (its id in hex) for any other collation or version.
TextSortOrder TextSortOrderOf(const Column& column, const FormatLayout& format);

}  // namespace Jet
