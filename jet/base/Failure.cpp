#include "jet/base/Failure.h"

namespace Jet {
namespace {

[[noreturn]] void Throw(long number, std::string_view description,
                        Main::ErrorCause cause = Main::ErrorCause::kUnspecified) {
  throw JetError(number, description, cause);
}

[[noreturn]] void Throw(long number, std::u16string_view description,
                        Main::ErrorCause cause = Main::ErrorCause::kUnspecified) {
  throw JetError(number, std::u16string(description), cause);
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

void ThrowCorrupt(std::string_view detail) {
  Throw(JetErrorNumber::kCorrupt, "The database file is damaged: " + std::string(detail) + ".");
}

void ThrowInternalFault(std::string_view description) { Throw(JetErrorNumber::kCorrupt, description); }

void ThrowNotSupported(std::string_view detail, Main::ErrorCause cause) {
  Throw(JetErrorNumber::kNotSupported, detail, cause);
}

void ThrowNotSupported(std::u16string_view detail, Main::ErrorCause cause) {
  Throw(JetErrorNumber::kNotSupported, detail, cause);
}

void ThrowFileNotFound(std::string_view path) {
  Throw(JetErrorNumber::kFileNotFound, "Could not find file " + Quoted(path) + ".");
}

void ThrowCannotOpen(std::string_view path, std::string_view how) {
  Throw(JetErrorNumber::kNoPermission,
        "The file " + Quoted(path) + " cannot be opened" + std::string(how) + ".");
}

void ThrowNoPermission(std::string_view description) { Throw(JetErrorNumber::kNoPermission, description); }

void ThrowUnrecognizedFormat(std::string_view path) {
  Throw(JetErrorNumber::kUnrecognizedFormat, "Unrecognized database format " + Quoted(path) + ".");
}

void ThrowNotValidPassword(std::string_view description) {
  Throw(JetErrorNumber::kNotValidPassword, description);
}

void ThrowReadOnly(std::string_view description, Main::ErrorCause cause) {
  Throw(JetErrorNumber::kReadOnly, description, cause);
}

void ThrowDatabaseInUse() {
  Throw(JetErrorNumber::kDatabaseInUse, "The database is in use by another program.");
}

void ThrowNoSuchTable(std::u16string_view name) {
  Throw(JetErrorNumber::kNoSuchTable,
        u"The Microsoft Access database engine cannot find the input table or query '" +
            std::u16string(name) + u"'.");
}

void ThrowNoSuchColumn(std::u16string_view description) { Throw(JetErrorNumber::kNoSuchColumn, description); }

void ThrowNoCurrentRecord() { Throw(JetErrorNumber::kNoCurrentRecord, "No current record."); }

void ThrowRecordDeleted() { Throw(JetErrorNumber::kRecordDeleted, "Record is deleted."); }

void ThrowFieldTooSmall() {
  Throw(JetErrorNumber::kFieldTooSmall,
        "The field is too small to accept the amount of data you attempted to add.",
        Main::ErrorCause::kRecordValue);
}

void ThrowDuplicateKey() {
  Throw(JetErrorNumber::kDuplicateKey,
        "The changes you requested to the table were not successful because they would create "
        "duplicate values in the index, primary key, or relationship. Change the data in the field "
        "or fields that contain duplicate data, remove the index, or redefine the index to permit "
        "duplicate entries and try again.",
        Main::ErrorCause::kRecordValue);
}

void ThrowNullInIndex() {
  Throw(JetErrorNumber::kNullInIndex, "Index or primary key cannot contain a Null value.",
        Main::ErrorCause::kRecordValue);
}

void ThrowRelatedRecordsExist(std::u16string_view name) {
  Throw(JetErrorNumber::kRelatedRecordsExist,
        u"The record cannot be deleted or changed because table '" + std::u16string(name) +
            u"' includes related records.",
        Main::ErrorCause::kRecordValue);
}

void ThrowRelatedRecordRequired(std::u16string_view name) {
  Throw(JetErrorNumber::kRelatedRecordRequired,
        u"You cannot add or change a record because a related record is required in table '" +
            std::u16string(name) + u"'.",
        Main::ErrorCause::kRecordValue);
}

void ThrowIndexDamaged(std::u16string_view index, std::u16string_view table) {
  Throw(JetErrorNumber::kCorrupt,
        u"The index '" + std::u16string(index) + u"' of table '" + std::u16string(table) +
            u"' is damaged; repair the database in Access (Compact and Repair) first.",
        Main::ErrorCause::kFieldCannotChange);
}

void ThrowRecordTooLarge() {
  Throw(JetErrorNumber::kRecordTooLarge, "Record is too large.", Main::ErrorCause::kRecordStorage);
}

void ThrowValueRequired(std::u16string_view description) {
  Throw(JetErrorNumber::kValueRequired, description, Main::ErrorCause::kRecordValue);
}

void ThrowObjectExists(std::u16string_view name) {
  Throw(JetErrorNumber::kObjectExists, u"Table '" + std::u16string(name) + u"' already exists.");
}

void ThrowTypeMismatch(std::u16string_view description, Main::ErrorCause cause) {
  Throw(Main::ErrorNumber::kTypeMismatch, description, cause);
}

void ThrowOverflow(std::u16string_view description, Main::ErrorCause cause) {
  Throw(Main::ErrorNumber::kOverflow, description, cause);
}

std::string PageText(uint32_t page) { return "page " + std::to_string(page); }

}  // namespace Jet
