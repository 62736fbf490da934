#pragma once

#include <string>

#include "jet/Schema.h"

// The name Access gives a column's type in its table designer, for messages.
namespace Jet {

// "Text", "Number (Long Integer)", "Date/Time", "Yes/No" ...; "type 0x.." for an unknown code.
std::u16string ColumnTypeName(const Column& column);

}  // namespace Jet
