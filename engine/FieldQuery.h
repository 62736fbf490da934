#pragma once

#include <string>

// The field a run works on, and the query that reads its records.
namespace Engine {

// Table and field names as the lists showed them when the run started; later changes of the
// lists do not redirect the field's pass.
struct FieldInHand {
  std::u16string table;
  std::u16string field;
};

// "SELECT `field` FROM `table`". Access names cannot hold a grave accent, so the names stand as
// they are; a name that breaks the statement makes its open fail.
std::u16string FieldQueryText(const FieldInHand& field);

}  // namespace Engine
