#include "engine/FieldQuery.h"

namespace Engine {

std::u16string FieldQueryText(const FieldInHand& field) {
  return u"SELECT `" + field.field + u"` FROM `" + field.table + u"`";
}

}  // namespace Engine
