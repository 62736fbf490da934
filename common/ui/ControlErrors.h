#pragma once

// The error numbers the controls' implementations throw (as Main::Error) when a caller asks for
// something they cannot give; the windows' step traps report them like any other failure.
namespace Ui::ControlError {

constexpr long kInvalidCall = 5;             // an argument the operation does not accept
constexpr long kFileNotFound = 53;           // a file to load is missing or unreadable
constexpr long kNoObject = 91;               // there is no current entry to read
constexpr long kInvalidPropertyValue = 380;  // a value out of the property's range
constexpr long kInvalidPicture = 481;        // a pointer image that cannot be read
constexpr long kIndexOutOfBounds = 35600;    // no entry at that index

}  // namespace Ui::ControlError
