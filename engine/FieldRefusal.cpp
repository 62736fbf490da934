#include "engine/FieldRefusal.h"

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

// Told by the cause, not the number: the engine's 3251 also refuses single records (a long value
// of 1 GB, a page the usage maps cannot record), and those leave the rest of the field to clean.
bool IsFieldRefusal(const Main::Error& error) {
  return error.Cause() == Main::ErrorCause::kFieldCannotChange || error.Cause() == Main::ErrorCause::kReadOnly;
}

std::u16string FieldLeftUnchangedMessage(std::u16string_view table, std::u16string_view field,
                                         std::u16string_view reason) {
  std::u16string message = u"The field '";
  message.append(field).append(u"' of table '").append(table).append(u"' is left unchanged: ");
  message.append(reason);
  return message;
}

}  // namespace Engine
