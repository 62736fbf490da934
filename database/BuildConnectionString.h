#pragma once

#include <string>
#include <string_view>

// The connection string for the database the user chose (module Access1).
namespace Access1 {

// Where the current choice of database lives: the path and password boxes of the selection
// window.
class DatabaseChoice {
 public:
  virtual ~DatabaseChoice() = default;
  virtual std::u16string DatabasePath() const = 0;
  virtual std::u16string DatabasePassword() const = 0;
};

// An ACE database is one whose path ends in "accdb", in any case (only those five characters
// count); every other path is a Jet database.
bool IsAceDatabase(std::u16string_view path);

// The connection string for the path and password: the ACE or the Jet provider, the path, and
// the password (always present, empty when none). A path or password holding a semicolon, a quote
// or a leading or trailing blank is quoted, so that it reaches the engine unchanged.
std::u16string BuildConnectionString(std::u16string_view path, std::u16string_view password);

// The same for the choice as it stands at the moment of the call.
std::u16string BuildConnectionString(const DatabaseChoice& choice);

}  // namespace Access1
