#pragma once

#include <exception>
#include <string>
#include <string_view>

// The one error type of the core: a number and a description, as the error report shows it.
// Every layer throws this type or one derived from it.
namespace Main {

class Error : public std::exception {
 public:
  Error(long number, std::u16string description);
  Error(long number, std::string_view utf8Description);

  long Number() const noexcept { return number_; }
  const std::u16string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

 private:
  long number_;
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
