#pragma once

#include <string_view>

#include "common/Value.h"
#include "jet/Database.h"

// The test of a `WHERE [field]='literal'` clause, as the Access engine makes it: the literal is
// converted to the field's type once, then text compares ignoring case and numbers, dates and
// Yes/No compare by value. Null equals nothing.
namespace Access {

class WhereEquality {
 public:
  // Throws Main::Error (type mismatch) when the literal does not convert to the field's type.
  WhereEquality(const Jet::Column& column, std::u16string_view literal);

  bool Matches(const Main::Value& stored) const;

 private:
  Main::Value literal_;
};

}  // namespace Access
