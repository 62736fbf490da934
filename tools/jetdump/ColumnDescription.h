#pragma once

#include <string>

#include "jet/Database.h"

// How `jetdump columns` describes a column: its type as Access's table designer names it, its
// field size and its flags.
namespace JetDump {

// "Text", "Long Integer", "Date/Time", "Hyperlink", ...; "Attachment" for an attachment column,
// "Complex" for other complex columns; a calculated column's result type ("Currency" ...);
// "Unknown (0xNN)" for a code the engine does not know (or a calculated column of no known result).
std::u16string DesignerTypeName(const Jet::Column& column);

// The designer's field size: the maximum number of characters for Text, 0 otherwise.
unsigned FieldSize(const Jet::Column& column);

// Comma-separated, in this order, those that hold: indexed (in any index), autonumber, required,
// calculated.
std::u16string ColumnFlags(const Jet::TableDefinition& table, const Jet::Column& column);

}  // namespace JetDump
