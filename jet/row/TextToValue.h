#pragma once

#include <string_view>

#include "common/Value.h"
#include "jet/Schema.h"

// Converts typed text into a value for a column the way the Access engine converts text it is
// given for a field: numbers with '.', dates as YYYY-MM-DD[ HH:MM[:SS]], M/D/YYYY[ h:mm[:ss]
// [AM|PM]] or a time alone (for Date/Time Extended also years from 1 and seconds with up to seven
// decimals, h:mm:ss.fffffff), Yes/No as True/False/Yes/No/On/Off or a number.
namespace Jet {

// The value to store: Text for Text and Memo columns, Boolean for Yes/No, an exact Decimal (or a
// Double when the number has an exponent or too many digits) for number and Currency columns,
// DateTime for Date/Time, ExtendedDateTime for Date/Time Extended. Range checks belong to the
// encoder. Throws JetError kTypeMismatch
// (Main::ErrorNumber) naming the text and the column's type when the text does not convert, or
// when the column (Binary, OLE object, Replication ID, attachment) takes no text.
Main::Value ConvertText(const Column& column, std::u16string_view text);

}  // namespace Jet
