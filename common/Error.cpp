#include "common/Error.h"

#include <utility>

#include "common/Text.h"

namespace Main {

Error::Error(long number, std::u16string description, ErrorCause cause)
    : number_(number), cause_(cause), description_(std::move(description)), utf8_(ToUtf8(description_)) {}

Error::Error(long number, std::string_view utf8Description, ErrorCause cause)
    : number_(number), cause_(cause), description_(FromUtf8(utf8Description)), utf8_(utf8Description) {}

std::u16string DescribeCurrentException() {
  try {
    throw;
  } catch (const Error& error) {
    return error.Description();
  } catch (const std::exception& error) {
    return FromUtf8(error.what());
  } catch (...) {
    return u"Unexpected error.";
  }
}

}  // namespace Main
