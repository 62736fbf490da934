#pragma once

#include <string>
#include <vector>

#include "database/BuildConnectionString.h"

// What the command line lists of a database, read through a read-only connection built as the
// window builds it.
namespace Clean {

// The database named on the command line.
class FixedChoice : public Access1::DatabaseChoice {
 public:
  FixedChoice(std::u16string path, std::u16string password)
      : path_(std::move(path)), password_(std::move(password)) {}
  std::u16string DatabasePath() const override { return path_; }
  std::u16string DatabasePassword() const override { return password_; }

 private:
  std::u16string path_;
  std::u16string password_;
};

// The user tables in catalogue order. Throws Main::Error when the file is missing or cannot be
// read as a database.
std::vector<std::u16string> TableNames(const Access1::DatabaseChoice& choice);

// The table's name as the database spells it (names compare ignoring case). Throws Main::Error
// naming the tables there are when it has no such table.
std::u16string FindTable(const Access1::DatabaseChoice& choice, std::u16string_view table);

// The fields of a table in column order.
std::vector<std::u16string> FieldNames(const Access1::DatabaseChoice& choice, std::u16string_view table);

// The field's name as the table spells it. Throws Main::Error naming the table's fields when it
// has no such field.
std::u16string FindField(const std::vector<std::u16string>& fields, std::u16string_view table,
                         std::u16string_view field);

// The first values of a field (at most 101), as stored, a Null as the empty text.
std::vector<std::u16string> PreviewValues(const Access1::DatabaseChoice& choice, std::u16string_view table,
                                          std::u16string_view field);

// "1<TAB>Remove Spaces" ...: the operations with their numbers.
std::vector<std::u16string> OperationLines();

}  // namespace Clean
