#pragma once

#include "jet/Database.h"

// The data type of a column as the program's record sets number it (ADO's numbering).
namespace Access {

namespace AdoType {
constexpr int kSmallInt = 2;       // Integer
constexpr int kInteger = 3;        // Long Integer (also complex columns: their value id)
constexpr int kSingle = 4;
constexpr int kDouble = 5;
constexpr int kCurrency = 6;
constexpr int kDate = 7;
constexpr int kBoolean = 11;       // Yes/No
constexpr int kUnsignedTinyInt = 17;  // Byte
constexpr int kBigInt = 20;
constexpr int kGuid = 72;          // Replication ID
constexpr int kNumeric = 131;      // Decimal
constexpr int kVarWChar = 202;     // Text
constexpr int kLongVarWChar = 203; // Memo and Hyperlink
constexpr int kVarBinary = 204;    // Binary
constexpr int kLongVarBinary = 205;  // OLE Object
}  // namespace AdoType

int AdoDataTypeOf(const Jet::Column& column);

}  // namespace Access
