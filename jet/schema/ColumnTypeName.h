#pragma once

#include <string>

#include "jet/Schema.h"

// The name Access gives a column's type in its table designer, for messages, and whether the
// engine knows the type at all.
namespace Jet {

// "Text", "Number (Long Integer)", "Date/Time", "Yes/No" ...; "type 0x.." for an unknown code.
std::u16string ColumnTypeName(const Column& column);

// Whether the type is one of ColumnType's named codes; the engine reads a column of any other
// code as its bytes (Binary) and never writes it.
bool IsKnownColumnType(ColumnType type);

}  // namespace Jet
