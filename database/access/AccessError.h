#pragma once

#include <string_view>

#include "common/Error.h"

// The access layer's own failures, numbered as the program's database layer numbers them.
namespace Access {

namespace AccessErrorNumber {
constexpr long kProviderNotFound = 3706;  // the connection string names no provider we have
constexpr long kObjectClosed = 3704;      // an operation on a closed connection or record set
constexpr long kNoCurrentRecord = 3021;   // at the end, or before the first record
constexpr long kItemNotFound = 3265;      // no field of that name or position
constexpr long kNotUpdatable = 3251;      // a write on a read-only connection or record set
}  // namespace AccessErrorNumber

// Why a database that takes no change refuses one, in the Access engine's words.
inline constexpr std::u16string_view kReadOnlyReason = u"Cannot update. Database or object is read-only.";

[[noreturn]] inline void Fail(long number, std::u16string_view description,
                              Main::ErrorCause cause = Main::ErrorCause::kUnspecified) {
  throw Main::Error(number, std::u16string(description), cause);
}

}  // namespace Access
