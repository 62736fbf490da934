#pragma once

#include <exception>
#include <string>
#include <string_view>

// The one error type of the core: a number and a description, as the error report shows it, and
// what the failure concerns, for callers that go on after it. Every layer throws this type or one
// derived from it.
namespace Main {

// What a failed change concerns. Numbers are shared between causes (3251 is both "this field can
// never be changed" and "this record cannot be stored"), so a caller that must tell a refused
// record from a refused field asks the cause.
enum class ErrorCause {
  kUnspecified,        // nothing beyond the number is known
  kFieldCannotChange,  // no record of the field can be written: an AutoNumber, a calculated,
                       // complex (attachment, multi-value) or indexed field, a binary, OLE object or
                       // replication ID field given text
  kReadOnly,           // the database or the record set is open for reading only
  kRecordValue,        // the one record's new value: it does not convert, does not fit its field,
                       // or is Null where a value is required
  kRecordStorage,      // the one record cannot be stored: a row too large for a page, a long value
                       // of 1 GB or more, a page the usage maps cannot record
};

class Error : public std::exception {
 public:
  Error(long number, std::u16string description, ErrorCause cause = ErrorCause::kUnspecified);
  Error(long number, std::string_view utf8Description, ErrorCause cause = ErrorCause::kUnspecified);

  long Number() const noexcept { return number_; }
  const std::u16string& Description() const noexcept { return description_; }
  ErrorCause Cause() const noexcept { return cause_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  long number_;
  ErrorCause cause_;
  std::u16string description_;
  std::string utf8_;
};

// Error numbers used across the program.
namespace ErrorNumber {
constexpr long kOverflow = 6;             // a number does not fit its type
constexpr long kTypeMismatch = 13;        // a value cannot be converted
constexpr long kUnexpected = 440;         // an error without a number of its own
constexpr long kProviderNotFound = 3706;  // the database provider is missing
}  // namespace ErrorNumber

// The description of the exception being handled (call inside a catch block): the description of
// an Error, the what() of a standard exception, a fixed text otherwise.
std::u16string DescribeCurrentException();

}  // namespace Main
