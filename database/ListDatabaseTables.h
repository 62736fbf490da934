#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/BuildConnectionString.h"

// The user tables of the chosen database (module Access1).
namespace Access1 {

// The names of the database's user tables in catalogue order, or nothing (silently) when `path`
// names no file. The connection is opened with the choice's current path and password; a failure
// to open or read the database is thrown to the caller. Events are pumped once per catalogue row.
std::optional<std::vector<std::u16string>> ListDatabaseTables(std::u16string_view path,
                                                              const DatabaseChoice& choice);

}  // namespace Access1
