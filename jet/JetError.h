#pragma once

#include "common/Error.h"

// The engine's failures: a Main::Error whose number tells the kind.
namespace Jet {

namespace JetErrorNumber {
constexpr long kFileNotFound = 3024;          // "Could not find file '<path>'."
constexpr long kNoPermission = 3051;          // the file cannot be opened for reading
constexpr long kNotValidPassword = 3031;      // "Not a valid password."
constexpr long kUnrecognizedFormat = 3343;    // "Unrecognized database format '<path>'."
constexpr long kCorrupt = 3049;               // a page or a chain points where it must not
constexpr long kNotSupported = 3251;          // a feature the engine does not handle yet (the cause tells a field from a row)
constexpr long kNoSuchTable = 3078;           // "The Microsoft Access database engine cannot find the input table or query '<name>'."
constexpr long kNoSuchColumn = 3265;          // "Item not found in this collection."
constexpr long kNoCurrentRecord = 3021;       // "No current record." (a cursor before its first row or past its last)
constexpr long kRecordDeleted = 3167;         // "Record is deleted." (a row id whose slot is deleted)
constexpr long kFieldTooSmall = 3163;         // "The field is too small to accept the amount of data you attempted to add."
constexpr long kRecordTooLarge = 3047;        // a row longer than a data page can hold
constexpr long kValueRequired = 3314;         // Null in a field that requires a value
constexpr long kDatabaseInUse = 3045;         // "The database is in use by another program."
constexpr long kReadOnly = 3027;              // a write to a database opened read-only, or a read-only file
constexpr long kObjectExists = 3010;          // "Table '<name>' already exists." (the creator)
constexpr long kDuplicateKey = 3022;          // a unique index or primary key would hold a key twice
constexpr long kNullInIndex = 3058;           // "Index or primary key cannot contain a Null value."
constexpr long kRelatedRecordsExist = 3200;   // a referenced key changed while other rows refer to it
constexpr long kRelatedRecordRequired = 3201; // a referring key names no row of the referenced table
}  // namespace JetErrorNumber

class JetError : public Main::Error {
 public:
  using Main::Error::Error;
};

}  // namespace Jet
