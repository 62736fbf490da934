#include "engine/FieldRefusal.h"

#include "database/access/AccessError.h"
#include "database/access/AdoDataType.h"

namespace Engine {

std::optional<std::u16string_view> NeverRewrittenReason(int fieldType) {
  switch (fieldType) {
    case Access::AdoType::kVarBinary: return u"it holds binary data.";
    case Access::AdoType::kLongVarBinary: return u"it holds OLE objects.";
    case Access::AdoType::kGuid: return u"it holds replication IDs.";
    default: return std::nullopt;
  }
}

// The engine's "not supported" for a field it cannot change has the number of the access layer's
// "not updatable": both mean that no record of the field can be written.
bool IsFieldRefusal(const Main::Error& error) {
  return error.Number() == Access::AccessErrorNumber::kNotUpdatable;
}

std::u16string FieldLeftUnchangedMessage(std::u16string_view table, std::u16string_view field,
                                         std::u16string_view reason) {
  std::u16string message = u"The field '";
  message.append(field).append(u"' of table '").append(table).append(u"' is left unchanged: ");
  message.append(reason);
  return message;
}

}  // namespace Engine
