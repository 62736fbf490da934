#pragma once

#include <string>
#include <string_view>
#include <variant>

// The few SQL statements the program sends, parsed strictly: anything else is a syntax error.
//   SELECT * FROM `table`
//   SELECT `field` FROM `table`
//   UPDATE [table] SET [field]='literal' WHERE [field]='literal'
// Names stand between grave accents or square brackets (or bare, when they are plain words);
// keywords ignore case; a literal stands between apostrophes, an apostrophe inside written twice.
namespace Access {

struct SelectAll {
  std::u16string table;
};

struct SelectField {
  std::u16string field;
  std::u16string table;
};

struct UpdateWhereEqual {
  std::u16string table;
  std::u16string setField;
  std::u16string newValue;
  std::u16string whereField;
  std::u16string oldValue;
};

using Statement = std::variant<SelectAll, SelectField, UpdateWhereEqual>;

// Throws Main::Error "Syntax error in query: <statement>" for anything else.
Statement ParseStatement(std::u16string_view sql);

inline constexpr long kSyntaxErrorNumber = 3075;

}  // namespace Access
