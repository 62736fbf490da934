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
