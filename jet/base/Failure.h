#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jet/JetError.h"

// Builders of the engine's errors, one for each error number (two for kNoPermission: a file that
// cannot be opened, and other failures), so that every layer words them the same way and each
// fixed text is written once. Texts with parts of their own take them as UTF-8 (std::string_view)
// or UTF-16 (std::u16string_view).
namespace Jet {

// Structural damage: "The database file is damaged: <detail>." (kCorrupt).
[[noreturn]] void ThrowCorrupt(std::string_view detail);

// A fault of the engine itself rather than of a file it read, such as the creator's pages not
// coming out where its layout puts them; the description is given whole (kCorrupt: what it would
// write is not a valid database).
[[noreturn]] void ThrowInternalFault(std::string_view description);

// A feature the engine does not handle yet (kNotSupported), with what it concerns when known.
[[noreturn]] void ThrowNotSupported(std::string_view detail,
                                    Main::ErrorCause cause = Main::ErrorCause::kUnspecified);
[[noreturn]] void ThrowNotSupported(std::u16string_view detail,
                                    Main::ErrorCause cause = Main::ErrorCause::kUnspecified);

// "Could not find file '<path>'." (kFileNotFound).
[[noreturn]] void ThrowFileNotFound(std::string_view path);

// "The file '<path>' cannot be opened<how>." (kNoPermission); `how` is empty or says more,
// such as ": permission denied".
[[noreturn]] void ThrowCannotOpen(std::string_view path, std::string_view how = {});

// Any other failure to reach the file (kNoPermission), such as a failed write.
[[noreturn]] void ThrowNoPermission(std::string_view description);

// "Unrecognized database format '<path>'." (kUnrecognizedFormat).
[[noreturn]] void ThrowUnrecognizedFormat(std::string_view path);

// "Not a valid password." or another refusal of a password (kNotValidPassword).
[[noreturn]] void ThrowNotValidPassword(std::string_view description = "Not a valid password.");

// "Cannot update. Database or object is read-only." or another refused write (kReadOnly), with
// the cause kReadOnly unless told otherwise.
[[noreturn]] void ThrowReadOnly(
    std::string_view description = "Cannot update. Database or object is read-only.",
    Main::ErrorCause cause = Main::ErrorCause::kReadOnly);

// "The database is in use by another program." (kDatabaseInUse).
[[noreturn]] void ThrowDatabaseInUse();

// "The Microsoft Access database engine cannot find the input table or query '<name>'."
// (kNoSuchTable).
[[noreturn]] void ThrowNoSuchTable(std::u16string_view name);

// "Item not found in this collection." or another column that is not there (kNoSuchColumn).
[[noreturn]] void ThrowNoSuchColumn(
    std::u16string_view description = u"Item not found in this collection.");

// "No current record." (kNoCurrentRecord).
[[noreturn]] void ThrowNoCurrentRecord();

// "Record is deleted." (kRecordDeleted).
[[noreturn]] void ThrowRecordDeleted();

// "The field is too small to accept the amount of data you attempted to add." (kFieldTooSmall,
// cause kRecordValue).
[[noreturn]] void ThrowFieldTooSmall();

// "Record is too large." (kRecordTooLarge, cause kRecordStorage).
[[noreturn]] void ThrowRecordTooLarge();

// Null where the field requires a value (kValueRequired, cause kRecordValue).
[[noreturn]] void ThrowValueRequired(std::u16string_view description);

// "Table '<name>' already exists." (kObjectExists).
[[noreturn]] void ThrowObjectExists(std::u16string_view name);

// A value or a name of the wrong kind (Main::ErrorNumber::kTypeMismatch).
[[noreturn]] void ThrowTypeMismatch(std::u16string_view description,
                                    Main::ErrorCause cause = Main::ErrorCause::kUnspecified);

// A number that does not fit (Main::ErrorNumber::kOverflow).
[[noreturn]] void ThrowOverflow(std::u16string_view description, Main::ErrorCause cause);

// Access's refusal of a key a unique index or primary key already holds (kDuplicateKey, cause
// kRecordValue).
[[noreturn]] void ThrowDuplicateKey();

// "Index or primary key cannot contain a Null value." (kNullInIndex, cause kRecordValue).
[[noreturn]] void ThrowNullInIndex();

// "The record cannot be deleted or changed because table '<name>' includes related records."
// (kRelatedRecordsExist, cause kRecordValue); `name` is the referring table.
[[noreturn]] void ThrowRelatedRecordsExist(std::u16string_view name);

// "You cannot add or change a record because a related record is required in table '<name>'."
// (kRelatedRecordRequired, cause kRecordValue); `name` is the referenced table.
[[noreturn]] void ThrowRelatedRecordRequired(std::u16string_view name);

// "The index '<index>' of table '<table>' is damaged; repair the database in Access (Compact and
// Repair) first." (kCorrupt, cause kFieldCannotChange).
[[noreturn]] void ThrowIndexDamaged(std::u16string_view index, std::u16string_view table);

// "page 12" style text for messages.
std::string PageText(uint32_t page);

}  // namespace Jet
